#include "system/support/KioskSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace quindle::systemtest {

void KioskSession::SetUp()
{
    ASSERT_TRUE(server.isRunning()) << "no X server (Debian package xvfb)";
    kiosk = std::make_unique<SystemKiosk>(folder.filePath(QStringLiteral("program")));
    ASSERT_EQ("", kiosk->problem().toStdString());
    // Nobody waits for the slideshow unless a test asks for it.
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("600")));
    screen = std::make_unique<KioskScreen>(server, *kiosk);
}

// A failing test leaves its last screen beside it, and what the kiosk complained of.
void KioskSession::TearDown()
{
    if (!HasFailure())
        return;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const QString path =
        QDir::current().filePath(QStringLiteral("%1-%2.png").arg(test->test_suite_name(), test->name()));
    server.grab(QRect(QPoint(0, 0), server.screenSize())).save(path);
    std::cerr << "Last screen: " << path.toStdString() << '\n';
    if (process)
        std::cerr << "Kiosk's standard error:\n" << process->standardError().toStdString() << '\n';
}

void KioskSession::startKiosk()
{
    process = std::make_unique<KioskProcess>(server, kiosk->programFolder());
    ASSERT_TRUE(process->start()) << "the kiosk program did not start";
    const TopLevelWindow window = process->waitForWindow();
    ASSERT_NE(0U, window.id) << (process->isRunning() ? "no kiosk window appeared" : "the kiosk ended");
    kiosk->setWindowOrigin(window.geometry.topLeft());
}

int KioskSession::endKiosk()
{
    process->terminate();
    return process->waitForExit() && process->exitedNormally() ? process->exitCode() : -1;
}

bool waitFor(const std::function<bool()>& check, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!check()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(40);
    }
    return true;
}

std::string describe(const QStringList& texts)
{
    return "[\"" + texts.join(QStringLiteral("\", \"")).toStdString() + "\"]";
}

} // namespace quindle::systemtest
