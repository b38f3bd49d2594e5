#include "system/lockdown/LockdownSession.h"

#include <QProcess>
#include <QStandardPaths>
#include <iostream>

using namespace quindle::systemtest;

namespace {

// A plain window manager that closes windows on Alt+F4 and on its clients' requests.
class WindowManagerLockdown : public LockdownSession
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
            GTEST_SKIP() << "openbox is not installed (Debian package openbox)";
        LockdownSession::SetUp();
        if (HasFatalFailure())
            return;
        openbox.setProcessEnvironment(server.environment());
        openbox.setStandardOutputFile(QProcess::nullDevice());
        openbox.setStandardErrorFile(QProcess::nullDevice());
        endWithParent(openbox);
        openbox.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        ASSERT_TRUE(openbox.waitForStarted());
        // The kiosk is started only once openbox manages the screen, so its window is
        // managed from the start rather than taken over half-way through being mapped.
        ASSERT_TRUE(ScreenCheck::waitFor([&] {
            QProcess query;
            query.setProcessEnvironment(server.environment());
            query.start(QStringLiteral("wmctrl"), {QStringLiteral("-m")});
            return query.waitForFinished(5000) && query.readAllStandardOutput().contains("Openbox");
        })) << "openbox did not take the screen";
    }

    void TearDown() override
    {
        LockdownSession::TearDown();
        if (openbox.state() == QProcess::NotRunning)
            return;
        openbox.terminate();
        if (!openbox.waitForFinished(10'000)) {
            openbox.kill();
            openbox.waitForFinished(5000);
        }
    }

    // Openbox keeps a tiny window of its own for its key bindings; it is no kiosk popup.
    bool isWindowManagerWindow(const TopLevelWindow& window) const override
    {
        return window.name == QLatin1String("Openbox") && window.geometry.width() <= 1 &&
               window.geometry.height() <= 1;
    }

    void wmctrl(const QStringList& arguments)
    {
        QProcess tool;
        tool.setProcessEnvironment(server.environment());
        tool.start(QStringLiteral("wmctrl"), arguments);
        EXPECT_TRUE(tool.waitForFinished(30'000));
    }

    // Every way a window manager is asked to close the window that has the focus.
    void tryCloseRequests(const QString& screenName)
    {
        const QString id = QStringLiteral("0x%1").arg(process->window(), 0, 16);
        input.key(QStringLiteral("alt+F4"));
        expectLockedIn(QStringLiteral("Alt+F4 on ") + screenName);
        wmctrl({QStringLiteral("-c"), QStringLiteral("Quindle")});
        expectLockedIn(QStringLiteral("wmctrl -c on ") + screenName);
        wmctrl({QStringLiteral("-i"), QStringLiteral("-c"), id});
        expectLockedIn(QStringLiteral("wmctrl -i -c on ") + screenName);
        server.sendDeleteRequest(process->window());
        expectLockedIn(QStringLiteral("a close request on ") + screenName);
        for (const QString& key :
             {QStringLiteral("alt+Tab"), QStringLiteral("alt+shift+Tab"), QStringLiteral("Escape"),
              QStringLiteral("ctrl+w"), QStringLiteral("ctrl+q")}) {
            input.key(key);
            expectLockedIn(key + QStringLiteral(" on ") + screenName);
        }
    }

    QProcess openbox;
};

} // namespace

TEST_F(WindowManagerLockdown, CloseRequestsAreRefused_messageBoxStaysModalAndCentred)
{
    startKiosk();
    ASSERT_TRUE(ScreenCheck::waitFor([&] {
        for (const TopLevelWindow& shown : server.viewableTopLevels()) {
            if (shown.client == process->window() && shown.id != shown.client)
                return true;
        }
        return false;
    })) << "openbox manages the kiosk window";
    using State = KioskScreenState;
    for (const State state : {State::Browsing, State::Detail, State::Keyboard}) {
        bringTo(state);
        tryCloseRequests(QStringLiteral("screen %1").arg(static_cast<int>(state)));
        ASSERT_EQ(state, currentState()) << "nothing changed the screen";
    }

    bringTo(State::MessageBox);
    const TopLevelWindow box = messageBox();
    ASSERT_NE(0U, box.id);
    expectMessageBoxModalAndCentred(box);
    wmctrl(
        {QStringLiteral("-i"), QStringLiteral("-c"), QStringLiteral("0x%1").arg(process->window(), 0, 16)});
    expectLockedIn(QStringLiteral("wmctrl -i -c on the kiosk behind its message box"));
    server.sendDeleteRequest(process->window());
    expectLockedIn(QStringLiteral("a close request to the kiosk behind its message box"));
    input.key(QStringLiteral("alt+F4"));
    expectLockedIn(QStringLiteral("Alt+F4 on the message box"));

    std::cout << "Lock-down attempts: " << attempts << '\n';
    EXPECT_EQ(0, endKiosk());
}
