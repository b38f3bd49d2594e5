#include "support/KioskHarness.h"

#include "tracking/TrackingLog.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quindle::test {

KioskHarness::KioskHarness(const KioskFolder& folder)
    : m_folder(folder), m_services{clock, messageBox, programEnd, sound},
      m_window(std::make_unique<KioskWindow>(folder.programFolder(), m_services, machine.services()))
{
}

KioskHarness::~KioskHarness() = default;

bool KioskHarness::start()
{
    try {
        m_window->startKiosk();
    } catch (const ProgramEnded&) {
        return false;
    }
    m_window->show();
    return true;
}

QString KioskHarness::shownFile(const PictureControl* control)
{
    return QFileInfo(control->picturePath()).fileName();
}

QStringList KioskHarness::loggedEvents()
{
    m_window->trackingLog().flush();
    QFile file(m_folder.temp().filePath(QStringLiteral("log files/") +
                                        clock.now().toString(QStringLiteral("MMddyyyy")) +
                                        QStringLiteral(".csv")));
    QStringList events;
    if (!file.open(QIODevice::ReadOnly))
        return events;
    static const QRegularExpression line(QStringLiteral("^\"(.*)\",\"[0-9/]+ [0-9:]+\"$"));
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(raw).trimmed();
        const auto match = line.match(text);
        if (match.hasMatch())
            events << match.captured(1);
    }
    return events;
}

} // namespace quindle::test
