#include "SettingsFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

TEST(SimpleOptions, EmptyStatementsKeepEveryDefault)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted(requiredStatements);
    EXPECT_FALSE(settings.attractEnabled);
    EXPECT_FALSE(settings.hideMouse);
    EXPECT_FALSE(settings.watchdogEnabled);
    EXPECT_FALSE(settings.lookupEnabled);
    EXPECT_EQ(PrintingMode::None, settings.printingMode);
    EXPECT_EQ(TrackingMode::None, settings.trackingMode);
    EXPECT_EQ(0, settings.idleTimeout);
    EXPECT_EQ((std::array<std::int32_t, 3>{0, 0, 0}), settings.rebootTimes);
    EXPECT_TRUE(settings.backdropPath.isEmpty());
}

TEST(SimpleOptions, Booleans_setTheirFields)
{
    SettingsFolder kiosk;
    const KioskSettings settings =
        kiosk.accepted(requiredStatements + "attract = TRUE\r\nhideMouse = 1\r\nusbResetCard = true\r\n");
    EXPECT_TRUE(settings.attractEnabled);
    EXPECT_TRUE(settings.hideMouse);
    EXPECT_TRUE(settings.watchdogEnabled);
}

TEST(SimpleOptions, SecondStatement_overridesTheFirst)
{
    SettingsFolder kiosk;
    EXPECT_FALSE(kiosk.accepted(requiredStatements + "attract = true\r\nattract = false\r\n").attractEnabled);
    EXPECT_TRUE(kiosk.accepted(requiredStatements + "attract = 0\r\nattract = -1\r\n").attractEnabled);
    EXPECT_EQ(60, kiosk.accepted(requiredStatements + "timeout = 30\r\ntimeout = 60\r\n").idleTimeout);
}

TEST(SimpleOptions, UnreadableBoolean_isRefusedWithTheStatementAsWritten)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as true or false:"),
                              QStringLiteral("Attract = yes")),
              kiosk.refused(requiredStatements + "Attract =   yes  \r\n"));
}

TEST(SimpleOptions, WholeNumbers_areReadRoundedAndRangeChecked)
{
    SettingsFolder kiosk;
    const KioskSettings settings =
        kiosk.accepted(requiredStatements + "timeout = 90.5\r\nattractTimer = 7\r\n");
    EXPECT_EQ(90, settings.idleTimeout);
    EXPECT_EQ(7, settings.slideSeconds);

    EXPECT_EQ(improperMessage(QStringLiteral("You have a whole number outside the range -32768 to 32767:"),
                              QStringLiteral("timeout = 40000")),
              kiosk.refused(requiredStatements + "timeout = 40000\r\n"));
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as a whole number:"),
                              QStringLiteral("attractTimer = ten")),
              kiosk.refused(requiredStatements + "attractTimer = ten\r\n"));
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as a whole number:"),
                              QStringLiteral("timeout = ")),
              kiosk.refused(requiredStatements + "timeout =\r\n"));
}

TEST(SimpleOptions, PrintingWords_ignoreCaseAndSwitchOffOtherwise)
{
    SettingsFolder kiosk;
    const QByteArray print = "print = 300, 700\r\n";
    EXPECT_EQ(PrintingMode::Jpg,
              kiosk.accepted(requiredStatements + print + "printing = jpg\r\n").printingMode);
    EXPECT_EQ(PrintingMode::Prn,
              kiosk.accepted(requiredStatements + print + "printing = PRN\r\n").printingMode);
    EXPECT_EQ(PrintingMode::None, kiosk.accepted(requiredStatements + "printing = yes\r\n").printingMode);
    EXPECT_EQ(
        PrintingMode::None,
        kiosk.accepted(requiredStatements + print + "printing = JPG\r\nprinting = false\r\n").printingMode);
}

TEST(SimpleOptions, TrackingWords_ignoreCaseAndSwitchOffOtherwise)
{
    SettingsFolder kiosk;
    EXPECT_EQ(TrackingMode::Daily, kiosk.accepted(requiredStatements + "tracking = Daily\r\n").trackingMode);
    EXPECT_EQ(TrackingMode::Monthly,
              kiosk.accepted(requiredStatements + "tracking = MONTHLY\r\n").trackingMode);
    EXPECT_EQ(TrackingMode::None, kiosk.accepted(requiredStatements + "tracking = weekly\r\n").trackingMode);
}

TEST(SimpleOptions, RebootTimes_areSecondsAfterMidnight)
{
    SettingsFolder kiosk;
    const KioskSettings settings =
        kiosk.accepted(requiredStatements + "reboot2 = 13.5\r\nREBOOT3 = 0.25\r\nreboot1 = 3\r\n");
    EXPECT_EQ((std::array<std::int32_t, 3>{10800, 48600, 900}), settings.rebootTimes);
}

TEST(SimpleOptions, PrintRectangle_isReadInInches)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted(
        requiredStatements + "jpgTop = 0.5\r\njpgLeft = 0.25\r\njpgWidth = 7.5\r\njpgHeight = 10\r\n");
    EXPECT_EQ(0.5f, settings.jpgTop);
    EXPECT_EQ(0.25f, settings.jpgLeft);
    EXPECT_EQ(7.5f, settings.jpgWidth);
    EXPECT_EQ(10.0f, settings.jpgHeight);
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as a number:"),
                              QStringLiteral("jpgWidth = seven")),
              kiosk.refused(requiredStatements + "jpgWidth = seven\r\n"));
}

TEST(SimpleOptions, Backdrop_isFoundBelowTheInterfaceFolderIgnoringCase)
{
    SettingsFolder kiosk;
    kiosk.folder().write(QStringLiteral("Kiosk/Interface/Backdrop.jpg"));
    kiosk.folder().write(QStringLiteral("Kiosk/Interface/Shop/Night.JPG"));

    EXPECT_EQ(kiosk.folder().filePath(QStringLiteral("Kiosk/Interface/Backdrop.jpg")),
              kiosk.accepted(requiredStatements + "backdrop = BACKDROP.JPG\r\n").backdropPath);
    EXPECT_EQ(kiosk.folder().filePath(QStringLiteral("Kiosk/Interface/Shop/Night.JPG")),
              kiosk.accepted(requiredStatements + "backdrop = shop\\night.jpg\r\n").backdropPath);
}

TEST(SimpleOptions, MissingBackdrop_quotesTheTrimmedValueWithALowerCaseKey)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("Cannot locate the file indicated in your backdrop statement:"),
                              QStringLiteral("backdrop = missing back.jpg")),
              kiosk.refused(requiredStatements + "BackDrop =    missing back.jpg   \r\n"));
    // The Interface folder itself is no picture.
    EXPECT_EQ(improperMessage(QStringLiteral("Cannot locate the file indicated in your backdrop statement:"),
                              QStringLiteral("backdrop = ")),
              kiosk.refused(requiredStatements + "backdrop =\r\n"));
}
