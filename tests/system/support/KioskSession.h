#pragma once

#include "support/TempFolder.h"
#include "system/support/KioskProcess.h"
#include "system/support/KioskScreen.h"

#include <memory>

namespace quindle::systemtest {

// One test's whole set-up: its own X server, a generated kiosk folder, the built kiosk on it, real
// input and the screen. Everything started is ended by its process id, also on failure.
class KioskSession : public testing::Test
{
protected:
    explicit KioskSession(QSize screenSize = QSize(1920, 1080), QSize backdrop = QSize(1920, 1080))
        : server(screenSize), m_backdrop(backdrop)
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(server.isRunning()) << "no X server (Debian package xvfb)";
        kiosk = std::make_unique<SystemKiosk>(folder.filePath(QStringLiteral("program")), m_backdrop);
        ASSERT_EQ("", kiosk->problem().toStdString());
        // Nobody waits for the slideshow unless a test asks for it.
        ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("600")));
        screen = std::make_unique<KioskScreen>(server, *kiosk);
    }

    // A failing test leaves its last screen in the working folder, and tells what the kiosk
    // complained of.
    void TearDown() override
    {
        if (!HasFailure())
            return;
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        const QString path = QDir::current().filePath(
            QString("%1-%2.png").arg(test->test_suite_name(), test->name()).replace('/', '-'));
        server.grab(QRect(QPoint(0, 0), server.screenSize())).save(path);
        std::cerr << "Last screen: " << path.toStdString() << '\n';
        if (process)
            std::cerr << "Kiosk's standard error:\n" << process->standardError().toStdString() << '\n';
    }

    // Starts the kiosk and waits until its window is viewable and its event loop answers; the
    // window's place and size set where the kiosk draws its backdrop. On its private server the
    // kiosk's is the only window named "Quindle".
    void startKiosk()
    {
        process =
            std::make_unique<KioskProcess>(server, kiosk->programFolder(), kioskArguments, kioskLauncher);
        ASSERT_TRUE(process->start()) << "the kiosk program did not start";
        TopLevelWindow window;
        const auto shownOrEnded = [&] {
            return (window = server.windowNamed("Quindle")).id != 0 || !process->isRunning();
        };
        ASSERT_TRUE(waitFor(shownOrEnded, 60'000)) << "no kiosk window appeared";
        process->window = window.id;
        ASSERT_TRUE(process->settle()) << "the kiosk's window does not answer";
        kiosk->fitTo(window.geometry);
    }
    void tap(QPoint at) { server.click(at); }
    void tap(const QRect& control) { server.click(control.center()); }
    // Ends the kiosk with a termination signal and returns its exit code (-1: it did not end).
    int endKiosk()
    {
        process->terminate();
        return process->waitForExit() && process->exitedNormally() ? process->exitCode() : -1;
    }

    // What startKiosk() hands the kiosk beside its program folder, and what starts it.
    QStringList kioskArguments;
    QStringList kioskLauncher;

    test::TempFolder folder;
    XServer server;
    std::unique_ptr<SystemKiosk> kiosk;
    std::unique_ptr<KioskScreen> screen;
    std::unique_ptr<KioskProcess> process;

private:
    QSize m_backdrop;
};

} // namespace quindle::systemtest
