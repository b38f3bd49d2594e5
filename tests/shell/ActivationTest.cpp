#include "support/KioskHarness.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

TEST(Activation, RunsOnceHowEverOftenTheWindowIsActivated)
{
    KioskFolder folder;
    folder.writeStandardKiosk({QStringLiteral("hideMouse = true")});
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());

    kiosk.window().activateKiosk();
    QTimer* timer = &kiosk.window().timer();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(1000, timer->interval());
    ASSERT_NE(nullptr, QGuiApplication::overrideCursor());
    EXPECT_EQ(Qt::BlankCursor, QGuiApplication::overrideCursor()->shape());

    kiosk.window().tick();
    kiosk.window().activateKiosk(); // as after a message box closes
    EXPECT_EQ(timer, &kiosk.window().timer());
    EXPECT_EQ(119, kiosk.window().navigation().idleCountdown());
    EXPECT_EQ(1, kiosk.machine.serviceNotifier.ready);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

TEST(OperatorExit, ARightPressOnTheBareBackdropEndsTheKioskWhereverItIsReleased)
{
    KioskFolder folder;
    folder.writeStandardKiosk({QStringLiteral("usbResetCard = true")});
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    kiosk.window().activateKiosk();
    const KioskControls& controls = kiosk.controls();

    // Right presses on controls are presses like any other: the menu, a thumbnail, lookup.
    for (QWidget* control :
         std::initializer_list<QWidget*>{controls.btnMenu[1], controls.btnThumbnail[1],
                                         controls.btnControl[LookupButton], controls.txtSearch})
        kiosk.click(control, Qt::RightButton);
    kiosk.clickAt(controls.backdrop, QPoint(700, 550), Qt::LeftButton);
    kiosk.clickAt(controls.backdrop, QPoint(700, 550), Qt::MiddleButton);
    EXPECT_EQ(0, kiosk.programEnd.calls);
    const QStringList before = kiosk.loggedEvents();
    EXPECT_TRUE(before.contains(QStringLiteral("Menu Button 1 Pressed")));

    // Released over a menu button, and outside the window.
    for (const QPoint release : {controls.btnMenu[1]->geometry().center(), QPoint(-40, -40)}) {
        try {
            // The release the windowing layer reports; the end unwinds from here without
            // passing through Qt's event delivery.
            emit controls.backdrop->released(RightButton, release);
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(0, ended.status);
        }
    }
    EXPECT_EQ(2, kiosk.programEnd.calls);
    EXPECT_EQ(QStringLiteral("Program Termination: User Right-Click"),
              kiosk.loggedEvents().value(before.size()));
    // The watchdog card is disarmed before each end.
    EXPECT_EQ(QStringLiteral("enable tick disable disable"),
              kiosk.machine.watchdogLibrary.commands.join(' '));
}

TEST(OperatorExit, TheBackdropCoversTheWindowEvenWhenItsPictureCannotBeDecoded)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    folder.temp().write(QStringLiteral("Kiosk/Interface/backdrop.jpg"), "not a picture");
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    EXPECT_EQ(kiosk.window().rect(), kiosk.controls().backdrop->geometry());
    EXPECT_EQ(kiosk.controls().backdrop,
              kiosk.window().childAt(kiosk.window().width() - 5, kiosk.window().height() - 5));
}

namespace {

// A standard kiosk with the watchdog card, a restart at 15:00 and a short idle time; the
// "Watches" category is empty, so that its menu button raises a box inside a press.
struct TickKiosk
{
    TickKiosk()
    {
        folder.writeStandardKiosk({QStringLiteral("usbResetCard = true"), QStringLiteral("reboot1 = 15"),
                                   QStringLiteral("timeout = 3")});
        QDir(folder.kioskFolder() + QStringLiteral("/Watches")).removeRecursively();
        QDir().mkpath(folder.kioskFolder() + QStringLiteral("/Watches"));
        kiosk.clock.setNow(QDateTime(QDate(2026, 12, 5), QTime(14, 59, 50)));
        EXPECT_TRUE(kiosk.start());
        kiosk.window().activateKiosk();
    }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            kiosk.clock.advance(std::chrono::seconds(1));
            kiosk.window().tick();
        }
    }

    KioskFolder folder;
    KioskHarness kiosk{folder};
    FakeMachine& machine = kiosk.machine;
};

} // namespace

TEST(Tick, ABoxOpenInAPressHoldsTheCountdownButNotTheSignsOfLifeOrTheRestart)
{
    TickKiosk t;
    std::int16_t countdownWhileOpen = 0;
    t.kiosk.messageBox.whileOpen = [&](const QString&) {
        countdownWhileOpen = t.kiosk.window().navigation().idleCountdown();
        t.ticks(12);
        EXPECT_EQ(countdownWhileOpen, t.kiosk.window().navigation().idleCountdown());
        EXPECT_FALSE(t.kiosk.controls().attractPic->isVisible());
        EXPECT_EQ(11, t.machine.serviceNotifier.alive); // the restart ends its tick
        // Armed with one, then one every fifth tickle.
        EXPECT_EQ(3, t.machine.watchdogLibrary.commands.count(QStringLiteral("tick")));
        EXPECT_EQ(1, t.machine.restart.requests);
    };
    t.kiosk.click(t.kiosk.controls().btnMenu[2]);
    ASSERT_EQ(1, t.kiosk.messageBox.messages.size());
    EXPECT_EQ(3, countdownWhileOpen);
    EXPECT_EQ(QStringLiteral("Program Termination: Auto Reboot"), t.kiosk.loggedEvents().last());

    t.ticks(2); // closed: the countdown goes on where it stood
    EXPECT_FALSE(t.kiosk.loggedEvents().contains(QStringLiteral("Enter Attract Mode")));
    t.ticks(1);
    EXPECT_EQ(QStringLiteral("Enter Attract Mode"), t.kiosk.loggedEvents().last());
}

TEST(Tick, ABoxOfTheTickOpensAfterItAndIsNeverStacked)
{
    TickKiosk t;
    t.machine.watchdogLibrary.failing << QStringLiteral("tick");
    t.machine.restart.outcome = RestartOutcome{EACCES, QStringLiteral("refused")};
    t.ticks(6);                                         // the sixth tickle sends a command, which fails
    EXPECT_TRUE(t.kiosk.messageBox.messages.isEmpty()); // not inside the tick
    t.kiosk.messageBox.whileOpen = [&](const QString&) {
        t.ticks(10); // the restart falls due and is refused; two more tickles fail
        EXPECT_EQ(15, t.machine.serviceNotifier.alive);
        EXPECT_EQ(1, t.machine.restart.requests);
    };
    QCoreApplication::processEvents();
    EXPECT_EQ(QStringList{QStringLiteral("Error in USB tickle")}, t.kiosk.messageBox.messages);

    // Meanwhile the refused restart and the next failures went to standard error alone; once
    // the box is closed, the next failure opens one again.
    t.kiosk.messageBox.whileOpen = nullptr;
    t.ticks(5);
    QCoreApplication::processEvents();
    EXPECT_EQ(2, t.kiosk.messageBox.messages.size());
}
