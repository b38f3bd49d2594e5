#include "system/support/KioskSession.h"

#include <iostream>

namespace quindle::systemtest {

KioskSession::KioskSession(QSize screenSize) : server(screenSize), input(server.environment()) {}

void KioskSession::SetUp()
{
    ASSERT_TRUE(server.isRunning()) << server.problem().toStdString();
    kiosk = std::make_unique<SystemKiosk>(folder.filePath(QStringLiteral("program")),
                                          SystemKiosk::smallOptions());
    ASSERT_TRUE(kiosk->problem().isEmpty()) << kiosk->problem().toStdString();
    // Nobody waits for the slideshow unless a test asks for it.
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("600")));
    screen = std::make_unique<KioskScreen>(server, *kiosk);
    log = std::make_unique<TrackingLogReader>(kiosk->programFolder());
}

void KioskSession::TearDown()
{
    if (!HasFailure())
        return;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const QString name =
        QStringLiteral("%1-%2").arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()));
    std::cerr << "Last screen: " << screen->check().saveScreen(name).toStdString() << '\n';
    if (process)
        std::cerr << "Kiosk's standard error:\n" << process->standardError().toStdString() << '\n';
    if (!input.problem().isEmpty())
        std::cerr << input.problem().toStdString() << '\n';
}

void KioskSession::startKiosk()
{
    process = std::make_unique<KioskProcess>(server, kiosk->programFolder(), kioskArguments, kioskLauncher);
    ASSERT_TRUE(process->start()) << process->problem().toStdString();
    const xcb_window_t window = process->waitForWindow();
    ASSERT_NE(0U, window) << process->problem().toStdString();
    for (const TopLevelWindow& shown : server.viewableTopLevels()) {
        if (shown.client == window)
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
