#include "support/KioskHarness.h"

#include "tracking/TrackingLog.h"

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
    const QByteArray log = m_folder.temp().read(QStringLiteral("log files/") +
                                                clock.now().toString(QStringLiteral("MMddyyyy")) + ".csv");
    static const QRegularExpression line(QStringLiteral("^\"(.*)\",\"[0-9/]+ [0-9:]+\"\r?$"),
                                         QRegularExpression::MultilineOption);
    QStringList events;
    for (auto match = line.globalMatch(QString::fromUtf8(log)); match.hasNext();)
        events << match.next().captured(1);
    return events;
}

} // namespace quindle::test
