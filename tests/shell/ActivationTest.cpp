#include "support/KioskHarness.h"

#include "attract/Attract.h"

#include <QGuiApplication>
#include <QTest>
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
    EXPECT_EQ(120, kiosk.window().state().idleCountdown);
    ASSERT_NE(nullptr, QGuiApplication::overrideCursor());
    EXPECT_EQ(Qt::BlankCursor, QGuiApplication::overrideCursor()->shape());
    EXPECT_EQ(1, kiosk.machine.serviceNotifier.ready);

    kiosk.window().attract().tick();
    kiosk.window().activateKiosk(); // as after a message box closes
    EXPECT_EQ(timer, &kiosk.window().timer());
    EXPECT_EQ(119, kiosk.window().state().idleCountdown);
    EXPECT_EQ(1, kiosk.machine.serviceNotifier.ready);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

TEST(OperatorExit, OnlyARightReleaseOnTheBareBackdropEndsTheKiosk)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    kiosk.window().activateKiosk();
    const KioskControls& controls = kiosk.controls();

    kiosk.click(controls.btnMenu[1], Qt::RightButton);
    kiosk.click(controls.btnThumbnail[1], Qt::RightButton);
    kiosk.click(controls.btnControl[LookupButton], Qt::RightButton);
    kiosk.click(controls.txtSearch, Qt::RightButton);
    kiosk.clickAt(controls.backdrop, QPoint(700, 550), Qt::LeftButton);
    kiosk.clickAt(controls.backdrop, QPoint(700, 550), Qt::MiddleButton);
    // Pressed on the backdrop, released over a menu button.
    QTest::mousePress(controls.backdrop, Qt::RightButton, Qt::NoModifier, QPoint(700, 550));
    QTest::mouseRelease(controls.backdrop, Qt::RightButton, Qt::NoModifier,
                        controls.btnMenu[1]->geometry().center());
    EXPECT_EQ(0, kiosk.programEnd.calls);
    const QStringList before = kiosk.loggedEvents();
    EXPECT_FALSE(before.join(QLatin1Char(' ')).contains(QStringLiteral("Termination")));

    // Right presses on controls are presses like any other: the menu, a thumbnail, lookup.
    EXPECT_TRUE(before.contains(QStringLiteral("Menu Button 1 Pressed")));
    try {
        // The release the windowing layer reports; the end unwinds from here without
        // passing through Qt's event delivery.
        emit controls.backdrop->released(RightButton, QPoint(700, 550));
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(0, ended.status);
    }
    EXPECT_EQ(1, kiosk.programEnd.calls);
    EXPECT_EQ(before + QStringList{QStringLiteral("Program Termination: User Right-Click")},
              kiosk.loggedEvents());
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

TEST(Tick, RunsTheRebootScheduleFirstAndTellsTheServiceManager)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    QStringList settings = KioskFolder::standardSettings();
    settings << QStringLiteral("reboot1 = 15");
    folder.writeSettings(settings);
    KioskHarness kiosk(folder);
    kiosk.clock.setNow(QDateTime(QDate(2026, 12, 5), QTime(14, 59, 58)));
    ASSERT_TRUE(kiosk.start());
    kiosk.window().activateKiosk();
    kiosk.window().attract().tick();
    EXPECT_EQ(0, kiosk.machine.restart.requests);
    EXPECT_EQ(1, kiosk.machine.serviceNotifier.alive);
    kiosk.clock.setNow(QDateTime(QDate(2026, 12, 5), QTime(15, 0, 1)));
    const std::int16_t countdown = kiosk.window().state().idleCountdown;
    kiosk.window().attract().tick();
    EXPECT_EQ(1, kiosk.machine.restart.requests);
    EXPECT_EQ(countdown, kiosk.window().state().idleCountdown); // the tick ended with the restart
    EXPECT_EQ(QStringLiteral("Program Termination: Auto Reboot"), kiosk.loggedEvents().last());
}
