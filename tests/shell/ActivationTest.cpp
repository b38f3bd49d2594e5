#include "support/KioskHarness.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cerrno>

using namespace quindle;
using namespace quindle::test;

namespace {

using Activation = KioskTest;
using OperatorExit = KioskTest;

// A standard kiosk with the watchdog card, a restart at 15:00 and a short idle time; the
// "Watches" category is empty, so that its menu button raises a box inside a press.
class Tick : public KioskTest
{
protected:
    void SetUp() override
    {
        QDir(folder.kioskFolder() + QStringLiteral("/Watches")).removeRecursively();
        QDir().mkpath(folder.kioskFolder() + QStringLiteral("/Watches"));
        kiosk.clock.setNow(QDateTime(QDate(2026, 12, 5), QTime(14, 59, 50)));
        start({QStringLiteral("usbResetCard = true"), QStringLiteral("reboot1 = 15"),
               QStringLiteral("timeout = 3")});
        kiosk.window().activateKiosk();
    }

    FakeMachine& machine = kiosk.machine;
};

} // namespace

TEST_F(Activation, RunsOnceHowEverOftenTheWindowIsActivated)
{
    start({QStringLiteral("hideMouse = true")});
    kiosk.window().activateKiosk();
    QTimer* timer = &kiosk.window().timer();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(1000, timer->interval());
    ASSERT_NE(nullptr, QGuiApplication::overrideCursor());
    EXPECT_EQ(Qt::BlankCursor, QGuiApplication::overrideCursor()->shape());

    kiosk.window().activateKiosk(); // as after a message box closes
    EXPECT_EQ(timer, &kiosk.window().timer());
    EXPECT_EQ(1, kiosk.machine.serviceNotifier.ready);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

TEST_F(OperatorExit, ARightPressOnTheBareBackdropEndsTheKioskWhereverItIsReleased)
{
    start({QStringLiteral("usbResetCard = true")});
    kiosk.window().activateKiosk();

    // Right presses on controls are presses like any other: the menu, a thumbnail, lookup. Other buttons on
    // the bare backdrop are followed through the running kiosk in the lock-down test.
    for (QWidget* control :
         std::initializer_list<QWidget*>{controls().btnMenu[1], controls().btnThumbnail[1],
                                         controls().btnControl[LookupButton], controls().txtSearch})
        kiosk.click(control, Qt::RightButton);
    EXPECT_EQ(0, kiosk.programEnd.calls);
    EXPECT_TRUE(kiosk.loggedEvents().contains(QStringLiteral("Menu Button 1 Pressed")));

    // Released over a menu button, and outside the window.
    for (const QPoint release : {controls().btnMenu[1]->geometry().center(), QPoint(-40, -40)}) {
        try {
            // The release the windowing layer reports; the end unwinds from here without
            // passing through Qt's event delivery.
            emit controls().backdrop->released(RightButton, release);
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(0, ended.status);
        }
    }
    EXPECT_EQ(2, kiosk.programEnd.calls);
    // The watchdog card is disarmed before each end.
    EXPECT_EQ(QStringLiteral("enable tick disable disable"),
              kiosk.machine.watchdogLibrary.commands.join(' '));
}

TEST_F(OperatorExit, TheBackdropCoversTheWindowEvenWhenItsPictureCannotBeDecoded)
{
    folder.temp().write(QStringLiteral("Kiosk/Interface/backdrop.jpg"), "not a picture");
    start();
    EXPECT_EQ(kiosk.window().rect(), controls().backdrop->geometry());
    EXPECT_EQ(controls().backdrop,
              kiosk.window().childAt(kiosk.window().width() - 5, kiosk.window().height() - 5));
}

TEST_F(Tick, ABoxOpenInAPressHoldsTheCountdownButNotTheSignsOfLifeOrTheRestart)
{
    std::int16_t countdownWhileOpen = 0;
    kiosk.messageBox.whileOpen = [&](const QString&) {
        countdownWhileOpen = kiosk.window().navigation().idleCountdown();
        ticks(12);
        EXPECT_EQ(countdownWhileOpen, kiosk.window().navigation().idleCountdown());
        EXPECT_FALSE(kiosk.controls().attractPic->isVisible());
        EXPECT_EQ(11, machine.serviceNotifier.alive); // the restart ends its tick
        EXPECT_EQ(1, machine.restart.requests);
    };
    kiosk.click(kiosk.controls().btnMenu[2]);
    ASSERT_EQ(1, kiosk.messageBox.messages.size());
    EXPECT_EQ(3, countdownWhileOpen);
    EXPECT_EQ(QStringLiteral("Program Termination: Auto Reboot"), kiosk.loggedEvents().last());

    ticks(2); // closed: the countdown goes on where it stood
    EXPECT_FALSE(kiosk.loggedEvents().contains(QStringLiteral("Enter Attract Mode")));
    ticks(1);
    EXPECT_EQ(QStringLiteral("Enter Attract Mode"), kiosk.loggedEvents().last());
}

TEST_F(Tick, ABoxOfTheTickOpensAfterItAndIsNeverStacked)
{
    machine.watchdogLibrary.failing << QStringLiteral("tick");
    machine.restart.outcome = RestartOutcome{EACCES, QStringLiteral("refused")};
    ticks(6);                                         // the sixth tickle sends a command, which fails
    EXPECT_TRUE(kiosk.messageBox.messages.isEmpty()); // not inside the tick
    kiosk.messageBox.whileOpen = [&](const QString&) {
        ticks(10); // the restart falls due and is refused; two more tickles fail
        EXPECT_EQ(15, machine.serviceNotifier.alive);
        EXPECT_EQ(1, machine.restart.requests);
    };
    QCoreApplication::processEvents();
    EXPECT_EQ(QStringList{QStringLiteral("Error in USB tickle")}, kiosk.messageBox.messages);

    // Meanwhile the refused restart and the next failures went to standard error alone; once
    // the box is closed, the next failure opens one again.
    kiosk.messageBox.whileOpen = nullptr;
    ticks(5);
    QCoreApplication::processEvents();
    EXPECT_EQ(2, kiosk.messageBox.messages.size());
}
