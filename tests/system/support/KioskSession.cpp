#include "system/support/KioskSession.h"

#include <QDir>
#include <iostream>

namespace quindle::systemtest {

KioskSession::KioskSession(QSize screenSize) : server(screenSize), input(server.environment()) {}

void KioskSession::SetUp()
{
    ASSERT_TRUE(server.isRunning()) << server.problem().toStdString();
    kiosk = std::make_unique<SystemKiosk>(folder.filePath(QStringLiteral("program")));
    ASSERT_TRUE(kiosk->problem().isEmpty()) << kiosk->problem().toStdString();
    // Nobody waits for the slideshow unless a test asks for it.
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("600")));
    screen = std::make_unique<KioskScreen>(server, *kiosk);
    log = std::make_unique<TrackingLogReader>(kiosk->programFolder());
}

// A failing test leaves its last screen beside it, and the kiosk's and xdotool's complaints.
void KioskSession::TearDown()
{
    if (!HasFailure())
        return;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const QString path = QDir::current().filePath(
        QStringLiteral("%1-%2.png").arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name())));
    server.grab(QRect(QPoint(0, 0), server.screenSize())).save(path);
    std::cerr << "Last screen: " << path.toStdString() << '\n';
    if (process)
        std::cerr << "Kiosk's standard error:\n" << process->standardError().toStdString() << '\n';
    std::cerr << input.problem().toStdString() << '\n';
}

void KioskSession::startKiosk()
{
    process = std::make_unique<KioskProcess>(server, kiosk->programFolder());
    ASSERT_TRUE(process->start()) << process->problem().toStdString();
    const xcb_window_t window = process->waitForWindow();
    ASSERT_NE(0U, window) << process->problem().toStdString();
    for (const TopLevelWindow& shown : server.viewableTopLevels()) {
        if (shown.id == window)
            kiosk->setWindowOrigin(shown.geometry.topLeft());
    }
}

int KioskSession::endKiosk()
{
    process->terminate();
    if (!process->waitForExit())
        return -1;
    return process->exitedNormally() ? process->exitCode() : -1;
}

std::string describe(const QStringList& texts)
{
    return "[\"" + texts.join(QStringLiteral("\", \"")).toStdString() + "\"]";
}

} // namespace quindle::systemtest
