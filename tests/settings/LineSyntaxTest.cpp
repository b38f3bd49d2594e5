#include "SettingsFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

TEST(LineSyntax, KeyInAnyCaseAndSpacing_isRecognised)
{
    SettingsFolder kiosk;
    for (const char* line : {"TIMEOUT = 30", "timeout=30", "   timeout    =     30    ", "TimeOut =30"}) {
        EXPECT_EQ(30, kiosk.accepted(requiredStatements + line + "\r\n").idleTimeout) << line;
    }
}

TEST(LineSyntax, KeyAfterATab_isSkipped)
{
    SettingsFolder kiosk;
    EXPECT_EQ(0, kiosk.accepted(requiredStatements + "\ttimeout = 30\r\n").idleTimeout);
}

TEST(LineSyntax, LinesWithoutEqualsAndUnknownKeys_areSkipped)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted(
        "[Quindle]\r\n; owner's notes\r\n\r\ncolour = blue\r\nwhatever = x, y\r\n" + requiredStatements);
    EXPECT_EQ(1, settings.menuEntryCount());
    EXPECT_FALSE(settings.attractEnabled);
}

TEST(LineSyntax, ValueIsCutAfterOneHundredCharacters_beforeItIsTrimmed)
{
    SettingsFolder kiosk;
    // A space, "30" and 97 spaces fill the 100 characters; the word after them is never read.
    const QByteArray line = "timeout =" + QByteArray(" 30") + QByteArray(97, ' ') + "forty\r\n";
    EXPECT_EQ(30, kiosk.accepted(requiredStatements + line).idleTimeout);
}

TEST(LineSyntax, ValueIsCutAfterOneHundredCharacters_beforeItIsSplit)
{
    SettingsFolder kiosk;
    // The value holds 99 characters and 7 commas; the ninth field after it is cut away.
    const QByteArray value = "4,3,120,90,50,200,10," + QByteArray(77, ' ') + "2";
    ASSERT_EQ(99, value.size());
    const KioskSettings settings = kiosk.accepted(requiredStatements + "grid =" + value + "0,99\r\n");
    EXPECT_EQ(20, settings.gridRowGap);
}

TEST(LineSyntax, OnlyTheFirstEqualsSeparatesKeyAndValue)
{
    SettingsFolder kiosk;
    EXPECT_EQ(QStringLiteral("a=b"),
              kiosk.accepted("btn1 = Rings, 1, 2, a=b, Arial, 10, 0, bold\r\n" + requiredControls)
                  .menuEntries[1]
                  .caption);
}

TEST(LineSyntax, WindowsTextWithCrLf_isRead)
{
    SettingsFolder kiosk;
    const KioskSettings settings =
        kiosk.accepted("btn1 = Caf\xE9, 10, 20, Caf\xE9 \x80, Arial, 12, 0, bold\r\n"
                       "timeout = 30\r\n" +
                       requiredControls);
    EXPECT_EQ(QStringLiteral("Caf\u00e9"), settings.menuEntries[1].folder);
    EXPECT_EQ(QStringLiteral("Caf\u00e9 \u20ac"), settings.menuEntries[1].caption);
    EXPECT_EQ(30, settings.idleTimeout);
}

TEST(LineSyntax, Utf8TextWithByteOrderMarkAndLf_isRead)
{
    SettingsFolder kiosk;
    const KioskSettings settings = kiosk.accepted("\xEF\xBB\xBFtimeout = 45\nbtn1 = Caf\xC3\xA9, 10, 20\n"
                                                  "prev = 1, 2\nclose = 3, 4\nnext = 5, 6");
    EXPECT_EQ(45, settings.idleTimeout);
    EXPECT_EQ(QStringLiteral("Caf\u00e9"), settings.menuEntries[1].folder);
}
