#include "SettingsFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

TEST(ControlButtonStatement, KeysCreateTheirOwnButtons)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted("btn1 = A, 1, 2\r\nPREV = 10, 700\r\nclose = 100,701\r\n"
                                                  "Next = 200, 702\r\n");
    EXPECT_EQ(QPoint(10, 700), settings.controlButtons[PrevButton].position);
    EXPECT_EQ(QPoint(100, 701), settings.controlButtons[CloseButton].position);
    EXPECT_EQ(QPoint(200, 702), settings.controlButtons[NextButton].position);
    EXPECT_FALSE(settings.controlButtonConfigured(PrintButton));
    EXPECT_FALSE(settings.controlButtonConfigured(LookupButton));
    EXPECT_FALSE(settings.lookupEnabled);
}

TEST(ControlButtonStatement, PrintWithTwoFields_keepsTheTemplateLook)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted(requiredStatements + "print = 300, 710\r\n");
    const ControlButtonPlacement& print = settings.controlButtons[PrintButton];
    EXPECT_TRUE(print.configured);
    EXPECT_EQ(QPoint(300, 710), print.position);
    EXPECT_TRUE(print.caption.isEmpty());
    EXPECT_EQ(QStringLiteral("Century Gothic"), print.style.fontName);
}

TEST(ControlButtonStatement, SevenFields_setCaptionFontColourAndStyle)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted(
        requiredStatements + "lookup = 400, 720, Find it , Verdana, 14, 00FF00,boldItalic\r\n");
    EXPECT_TRUE(settings.lookupEnabled);
    const ControlButtonPlacement& lookup = settings.controlButtons[LookupButton];
    EXPECT_EQ(QPoint(400, 720), lookup.position);
    EXPECT_EQ(QStringLiteral("Find it"), lookup.caption);
    EXPECT_EQ(QStringLiteral("Verdana"), lookup.style.fontName);
    EXPECT_EQ(14.0, lookup.style.pointSize);
    EXPECT_EQ(0x00FF00u, lookup.style.colour);
    EXPECT_TRUE(lookup.style.bold);
    EXPECT_TRUE(lookup.style.italic);
}

TEST(ControlButtonStatement, WrongFieldCount_quotesTheKeyAsWritten)
{
    SettingsFolder kiosk;
    const QString firstLine = QStringLiteral("You have an improper control button format statement:");
    EXPECT_EQ(improperMessage(firstLine, QStringLiteral("Next = 1, 2, 3")),
              kiosk.refused("btn1 = A, 1, 2\r\nprev = 1, 2\r\nclose = 1, 2\r\nNext = 1, 2, 3\r\n"));
    EXPECT_EQ(improperMessage(firstLine, QStringLiteral("lookup = 400")),
              kiosk.refused(requiredStatements + "lookup = 400\r\n"));
}

TEST(ControlButtonStatement, SecondStatementForAButton_isRefused)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have a second statement for the same control button:"),
                              QStringLiteral("PREV = 5, 5")),
              kiosk.refused(requiredStatements + "PREV = 5, 5\r\n"));
}

TEST(KeyboardStatements, PlaceKeyboardAndSearchBoxRounded)
{
    SettingsFolder kiosk;
    const KioskSettings settings =
        kiosk.accepted(requiredStatements + "keyboard = 10.6, 20\r\nkeyboardText = 30, 40.5\r\n");
    EXPECT_EQ(QPoint(11, 20), settings.keyboardPosition);
    EXPECT_EQ(QPoint(30, 40), settings.keyboardTextPosition);
    EXPECT_EQ(QPoint(1, 2),
              kiosk.accepted(requiredStatements + "keyboard = 9, 9\r\nkeyboard = 1, 2\r\n").keyboardPosition);
}

TEST(KeyboardStatements, WrongFieldCount_usesEachStatementsFirstLine)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have an improper keyboard format statement:"),
                              QStringLiteral("Keyboard = 10")),
              kiosk.refused(requiredStatements + "Keyboard = 10\r\n"));
    EXPECT_EQ(improperMessage(QStringLiteral("You have an improper keyboardText statement:"),
                              QStringLiteral("KEYBOARDTEXT = 1, 2, 3")),
              kiosk.refused(requiredStatements + "KEYBOARDTEXT = 1, 2, 3\r\n"));
}

TEST(KeyboardStatements, KeyboardButtons_setTheKeysLeftEdges)
{
    SettingsFolder kiosk;
    EXPECT_EQ(
        (std::array<std::int16_t, 4>{5, 105, 205, 306}),
        kiosk.accepted(requiredStatements + "keyboardButtons = 5, 105, 205, 305.5\r\n").keyboardButtonLeft);
}

TEST(KeyboardStatements, KeyboardButtonsWithFiveFields_isRefusedWithTheFixedKey)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have an improper keyboardButtons statement:"),
                              QStringLiteral("keyboardButtons = 1, 2, 3, 4, 5")),
              kiosk.refused(requiredStatements + "KEYBOARDBUTTONS = 1, 2, 3, 4, 5\r\n"));
}
