#include "support/KioskHarness.h"

#include "attract/Attract.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTest>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

TEST(Activation, RunsOnceHowEverOftenTheWindowIsActivated)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    QStringList settings = KioskFolder::standardSettings();
    settings << QStringLiteral("hideMouse = true");
    folder.writeSettings(settings);
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());

    kiosk.window().activateKiosk();
    QTimer* timer = &kiosk.window().timer();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(1000, timer->interval());
    EXPECT_EQ(120, kiosk.window().navigation().idleCountdown());
    ASSERT_NE(nullptr, QGuiApplication::overrideCursor());
    EXPECT_EQ(Qt::BlankCursor, QGuiApplication::overrideCursor()->shape());
    EXPECT_EQ(1, kiosk.machine.serviceNotifier.ready);

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
    folder.writeStandardKiosk();
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    kiosk.window().activateKiosk();
    const KioskControls& controls = kiosk.controls();

    // Right presses on controls are presses like any other: the menu, a thumbnail, lookup.
    kiosk.click(controls.btnMenu[1], Qt::RightButton);
    kiosk.click(controls.btnThumbnail[1], Qt::RightButton);
    kiosk.click(controls.btnControl[LookupButton], Qt::RightButton);
    kiosk.click(controls.txtSearch, Qt::RightButton);
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

TEST(OperatorExit, DisarmsTheWatchdogCardFirst)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    QStringList settings = KioskFolder::standardSettings();
    settings << QStringLiteral("usbResetCard = true");
    folder.writeSettings(settings);
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    kiosk.window().activateKiosk();
    EXPECT_EQ((QStringList{QStringLiteral("enable"), QStringLiteral("tick")}),
              kiosk.machine.watchdogLibrary.commands());
    try {
        emit kiosk.controls().backdrop->released(RightButton, QPoint(700, 550));
    } catch (const ProgramEnded&) {
    }
    EXPECT_EQ((QStringList{QStringLiteral("enable"), QStringLiteral("tick"), QStringLiteral("disable")}),
              kiosk.machine.watchdogLibrary.commands());
}

namespace {

// A standard kiosk with the watchdog card, a restart at 15:00 and a short idle time; the
// "Watches" category is empty, so that its menu button raises a box inside a press.
struct TickKiosk
{
    TickKiosk()
    {
        folder.writeStandardKiosk();
        QDir(folder.kioskFolder() + QStringLiteral("/Watches")).removeRecursively();
        QDir().mkpath(folder.kioskFolder() + QStringLiteral("/Watches"));
        folder.writeSettings(KioskFolder::standardSettings()
                             << QStringLiteral("usbResetCard = true") << QStringLiteral("reboot1 = 15")
                             << QStringLiteral("timeout = 3"));
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
    qsizetype tickles() const
    {
        return kiosk.machine.watchdogLibrary.commands().count(QStringLiteral("tick"));
    }

    KioskFolder folder;
    KioskHarness kiosk{folder};
};

} // namespace

TEST(Tick, ABoxOpenInAPressHoldsTheCountdownButNotTheSignsOfLifeOrTheRestart)
{
    TickKiosk t;
    KioskHarness& kiosk = t.kiosk;
    std::int16_t countdownWhileOpen = 0;
    kiosk.messageBox.whileOpen = [&](const QString&) {
        countdownWhileOpen = kiosk.window().navigation().idleCountdown();
        t.ticks(12);
        EXPECT_EQ(countdownWhileOpen, kiosk.window().navigation().idleCountdown());
        EXPECT_FALSE(kiosk.controls().attractPic->isVisible());
        EXPECT_EQ(11, kiosk.machine.serviceNotifier.alive); // the restart ends its tick
        EXPECT_EQ(3, t.tickles());                          // armed with one, then one every fifth tickle
        EXPECT_EQ(1, kiosk.machine.restart.requests);
    };
    kiosk.click(kiosk.controls().btnMenu[2]);
    ASSERT_EQ(1, kiosk.messageBox.messages.size());
    EXPECT_EQ(3, countdownWhileOpen);
    EXPECT_EQ(QStringLiteral("Program Termination: Auto Reboot"), kiosk.loggedEvents().last());

    EXPECT_FALSE(kiosk.loggedEvents().contains(QStringLiteral("Enter Attract Mode")));
    t.ticks(3); // closed: the countdown goes on where it stood
    EXPECT_EQ(QStringLiteral("Enter Attract Mode"), kiosk.loggedEvents().last());
}

TEST(Tick, ABoxOfTheTickOpensAfterItAndIsNeverStacked)
{
    TickKiosk t;
    KioskHarness& kiosk = t.kiosk;
    kiosk.machine.watchdogLibrary.failing << QStringLiteral("tick");
    kiosk.machine.restart.outcome = RestartOutcome{EACCES, QStringLiteral("refused")};
    t.ticks(6);                                       // the sixth tickle sends a command, which fails
    EXPECT_TRUE(kiosk.messageBox.messages.isEmpty()); // not inside the tick
    kiosk.messageBox.whileOpen = [&](const QString&) {
        t.ticks(10); // the restart falls due and is refused; two more tickles fail
        EXPECT_EQ(15, kiosk.machine.serviceNotifier.alive);
        EXPECT_EQ(1, kiosk.machine.restart.requests);
    };
    QCoreApplication::processEvents();
    EXPECT_EQ(QStringList{QStringLiteral("Error in USB tickle")}, kiosk.messageBox.messages);

    // Meanwhile the refused restart and the next failures went to standard error alone; once
    // the box is closed, the next failure opens one again.
    kiosk.messageBox.whileOpen = nullptr;
    t.ticks(5);
    QCoreApplication::processEvents();
    EXPECT_EQ(2, kiosk.messageBox.messages.size());
}
