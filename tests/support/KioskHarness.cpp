#include "support/KioskHarness.h"

#include "tracking/TrackingLog.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

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

void KioskHarness::press(QWidget* control, Qt::MouseButton button)
{
    QTest::mousePress(control, button, Qt::NoModifier, control->rect().center());
}

void KioskHarness::release(QWidget* control, Qt::MouseButton button)
{
    QTest::mouseRelease(control, button, Qt::NoModifier, control->rect().center());
}

void KioskHarness::click(QWidget* control, Qt::MouseButton button)
{
    clickAt(control, control->rect().center(), button);
}

void KioskHarness::clickAt(QWidget* control, QPoint position, Qt::MouseButton button)
{
    QTest::mousePress(control, button, Qt::NoModifier, position);
    QTest::mouseRelease(control, button, Qt::NoModifier, position);
}

QString KioskHarness::shownFile(const PictureControl* control)
{
    const QString path = control->picturePath();
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
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
