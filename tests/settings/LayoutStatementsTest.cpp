#include "SettingsFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

const QString improperButton = QStringLiteral("You have an improper button format statement:");

} // namespace

TEST(MenuButtonStatement, ThreeFields_placeTheButtonAndKeepTheTemplateLook)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted("btn1 =  Gold Rings ,  15 , 25  \r\n" + requiredControls);
    ASSERT_EQ(1, settings.menuEntryCount());
    const MenuEntry& entry = settings.menuEntries[1];
    EXPECT_EQ(QStringLiteral("Gold Rings"), entry.folder);
    EXPECT_EQ(QPoint(15, 25), entry.position);
    EXPECT_TRUE(entry.caption.isEmpty());
    EXPECT_EQ(QStringLiteral("Century Gothic"), entry.style.fontName);
    EXPECT_EQ(15.75, entry.style.pointSize);
    EXPECT_FALSE(entry.style.bold);
}

TEST(MenuButtonStatement, EightFields_setCaptionFontColourAndStyle)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted(
        "btn1 = Rings\\Gold, 10, 20, Gold rings , Arial, 12.5, FF0000,bold\r\n" + requiredControls);
    const MenuEntry& entry = settings.menuEntries[1];
    EXPECT_EQ(QStringLiteral("Rings/Gold"), entry.folder);
    EXPECT_EQ(QStringLiteral("Gold rings"), entry.caption);
    EXPECT_EQ(QStringLiteral("Arial"), entry.style.fontName);
    EXPECT_EQ(12.5, entry.style.pointSize);
    EXPECT_EQ(0xFF0000u, entry.style.colour);
    EXPECT_TRUE(entry.style.bold);
    EXPECT_FALSE(entry.style.italic);
}

TEST(MenuButtonStatement, StyleWord_isComparedUntrimmedButIgnoringCase)
{
    SettingsFolder kiosk;
    const auto styleOf = [&](const QByteArray& word) {
        return kiosk.accepted("btn1 = Rings, 1, 2, R, Arial, 12, 0," + word + "\r\n" + requiredControls)
            .menuEntries[1]
            .style;
    };
    EXPECT_TRUE(styleOf("BoldItalic").bold);
    EXPECT_TRUE(styleOf("boldItalic").italic);
    EXPECT_TRUE(styleOf("ITALIC").italic);
    EXPECT_FALSE(styleOf(" bold").bold);  // a space after the comma
    EXPECT_FALSE(styleOf("bold  ").bold); // spaces at the end of the line
    EXPECT_FALSE(styleOf("heavy").bold);
}

TEST(MenuButtonStatement, WrongFieldCount_writesTheKeyInLowerCaseWithTheUntrimmedValue)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(improperButton, QStringLiteral("btn3 =  Rings, 10 ")),
              kiosk.refused(requiredStatements + "BTN3 = Rings, 10 \r\n"));
    EXPECT_EQ(improperMessage(improperButton, QStringLiteral("btn1 =  A,1,2,3,4,5")),
              kiosk.refused("btn1 = A,1,2,3,4,5\r\n" + requiredControls));
}

TEST(MenuButtonStatement, UnreadableField_isRefused)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as a whole number:"),
                              QStringLiteral("btn1 =  Rings, left, 20")),
              kiosk.refused("btn1 = Rings, left, 20\r\n" + requiredControls));
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as a hexadecimal colour:"),
                              QStringLiteral("btn1 =  Rings, 1, 2, R, Arial, 12, blue, bold")),
              kiosk.refused("btn1 = Rings, 1, 2, R, Arial, 12, blue, bold\r\n" + requiredControls));
}

TEST(MenuButtonStatement, NumberNotOneToNine_isRefused)
{
    SettingsFolder kiosk;
    const QString firstLine = QStringLiteral("You have a menu button statement whose number is not 1 to 9:");
    EXPECT_EQ(improperMessage(firstLine, QStringLiteral("btn0 =  Rings, 1, 2")),
              kiosk.refused(requiredStatements + "btn0 = Rings, 1, 2\r\n"));
    EXPECT_EQ(improperMessage(firstLine, QStringLiteral("btnX =  Rings, 1, 2")),
              kiosk.refused(requiredStatements + "BTNX = Rings, 1, 2\r\n"));
}

TEST(MenuButtonStatement, RepeatedNumber_isRefused)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have a second statement for the same menu button:"),
                              QStringLiteral("btn2 =  Again, 1, 2")),
              kiosk.refused("btn1 = A, 1, 2\r\nbtn2 = B, 1, 2\r\nbtn3 = C, 1, 2\r\nbtn2 = Again, 1, 2\r\n" +
                            requiredControls));
}

TEST(MenuButtonStatement, LowerNumberLast_dropsTheEntriesAboveIt)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted("btn1 = A, 1, 2\r\nbtn2 = B, 1, 2\r\nbtn3 = C, 1, 2\r\n"
                                                  "btn4 = D, 1, 2\r\nbtn4x = ignored\r\n" +
                                                  requiredControls);
    EXPECT_EQ(4, settings.menuEntryCount());
    const KioskSettings dropped =
        kiosk.accepted("btn2 = B, 1, 2\r\nbtn3 = C, 1, 2\r\nbtn1 = A, 1, 2\r\n" + requiredControls);
    ASSERT_EQ(1, dropped.menuEntryCount());
    EXPECT_EQ(QStringLiteral("A"), dropped.menuEntries[1].folder);
}

TEST(MenuButtonStatement, EntryDroppedAndReachedAgain_leavesAGap)
{
    SettingsFolder kiosk;
    // btn1 drops entry 2; btn3 brings it back empty, and button 2 cannot be made twice.
    EXPECT_EQ(improperMessage(
                  QStringLiteral("You have a menu button statement, but no \"btn2\" statement before it:"),
                  QStringLiteral("btn3 =  C, 1, 2")),
              kiosk.refused("btn2 = B, 1, 2\r\nbtn1 = A, 1, 2\r\nbtn3 = C, 1, 2\r\n" + requiredControls));
}

TEST(GridStatement, FieldsGoToTheirNamedVariables)
{
    SettingsFolder kiosk;
    const KioskSettings settings =
        kiosk.accepted(requiredStatements + "grid = 4, 3, 120, 90, 50, 200, 10, 20\r\n");
    EXPECT_EQ(4, settings.gridColumns);
    EXPECT_EQ(3, settings.gridRows);
    EXPECT_EQ(120, settings.thumbWidth);
    EXPECT_EQ(90, settings.thumbHeight);
    EXPECT_EQ(50, settings.gridLeft);
    EXPECT_EQ(200, settings.gridTop);
    EXPECT_EQ(10, settings.gridColumnGap);
    EXPECT_EQ(20, settings.gridRowGap);
}

TEST(GridStatement, WrongFieldCount_isRefusedWithALowerCaseKey)
{
    SettingsFolder kiosk;
    const QString firstLine = QStringLiteral("You have an improper grid format statement:");
    EXPECT_EQ(improperMessage(firstLine, QStringLiteral("grid = 4,3,120,90,50,200,10")),
              kiosk.refused(requiredStatements + "GRID = 4,3,120,90,50,200,10\r\n"));
    EXPECT_EQ(improperMessage(firstLine, QStringLiteral("grid = 4,3,120,90,50,200,10,20,5")),
              kiosk.refused(requiredStatements + "Grid =  4,3,120,90,50,200,10,20,5 \r\n"));
}

TEST(GridStatement, ImpossibleGrids_areRefused)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have a grid with more than 32767 thumbnails on a page:"),
                              QStringLiteral("grid = 200,200,1,1,0,0,0,0")),
              kiosk.refused(requiredStatements + "grid = 200,200,1,1,0,0,0,0\r\n"));
    EXPECT_EQ(improperMessage(QStringLiteral("You have a grid with a negative number of columns or rows:"),
                              QStringLiteral("grid = -2,-3,1,1,0,0,0,0")),
              kiosk.refused(requiredStatements + "grid = -2,-3,1,1,0,0,0,0\r\n"));
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as a whole number:"),
                              QStringLiteral("grid = 4,three,1,1,0,0,0,0")),
              kiosk.refused(requiredStatements + "grid = 4,three,1,1,0,0,0,0\r\n"));
}

TEST(DetailViewStatement, PlacesTheDetailFrame)
{
    SettingsFolder kiosk;
    EXPECT_EQ(QRect(10, 20, 300, 400),
              kiosk.accepted(requiredStatements + "detailView = 10, 20, 300, 400\r\n").detailView);
    EXPECT_EQ(
        QRect(1, 2, 3, 4),
        kiosk.accepted(requiredStatements + "detailView = 9,9,9,9\r\ndetailview = 1,2,3,4\r\n").detailView);
    EXPECT_FALSE(kiosk.accepted(requiredStatements).detailView.has_value());
}

TEST(DetailViewStatement, WrongFieldCount_quotesTheKeyAsWritten)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have an improper detailView statement:"),
                              QStringLiteral("DetailVIEW = 1, 2, 3")),
              kiosk.refused(requiredStatements + "DetailVIEW = 1, 2, 3\r\n"));
}

TEST(ShowFileNameStatement, SevenFields_switchCaptionsOnAndStyleTheTemplate)
{
    SettingsFolder kiosk;
    const KioskSettings settings =
        kiosk.accepted(requiredStatements + "showFileName = top, 24, C0C0C0, Arial, 10, FF,italic\r\n");
    EXPECT_TRUE(settings.showFileName);
    const FileNameCaptionStyle& caption = settings.fileNameCaption;
    EXPECT_EQ(QStringLiteral("top"), caption.positionWord);
    EXPECT_EQ(24, caption.height);
    EXPECT_EQ(0xC0C0C0u, caption.background);
    EXPECT_EQ(QStringLiteral("Arial"), caption.style.fontName);
    EXPECT_EQ(10.0, caption.style.pointSize);
    EXPECT_EQ(0xFFu, caption.style.colour);
    EXPECT_TRUE(caption.style.italic);
    EXPECT_TRUE(caption.style.bold); // the template's bold is never taken away
}

TEST(ShowFileNameStatement, StyleWordAfterASpace_isIgnoredButTrailingSpacesAreNot)
{
    SettingsFolder kiosk;
    const auto italicOf = [&](const QByteArray& line) {
        return kiosk.accepted(requiredStatements + line).fileNameCaption.style.italic;
    };
    EXPECT_FALSE(italicOf("showFileName = top, 24, 0, Arial, 10, 0, italic\r\n"));
    EXPECT_TRUE(italicOf("showFileName = top, 24, 0, Arial, 10, 0,italic   \r\n"));
}

TEST(ShowFileNameStatement, WithoutCommas_leavesCaptionsOff)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted(requiredStatements + "showFileName = true\r\n");
    EXPECT_FALSE(settings.showFileName);
    EXPECT_EQ(QStringLiteral("MS Sans Serif"), settings.fileNameCaption.style.fontName);
}

TEST(ShowFileNameStatement, WrongFieldCount_isRefused)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(QStringLiteral("You have an improper showFileName statement:"),
                              QStringLiteral("ShowFileName = top, 24")),
              kiosk.refused(requiredStatements + "ShowFileName = top, 24\r\n"));
}
