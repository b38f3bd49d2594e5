#include "settings/SettingsText.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace quindle;

TEST(DecodeSettingsText, ReadsUtf8AndFallsBackToWindows1252)
{
    EXPECT_EQ(QStringLiteral("Caf\u00e9"), decodeSettingsText("Caf\xC3\xA9"));
    EXPECT_EQ(QStringLiteral("Caf\u00e9 \u20ac\u2019"), decodeSettingsText("Caf\xE9 \x80\x92"));
    EXPECT_EQ(QStringLiteral("btn1 = A"), decodeSettingsText("\xEF\xBB\xBF"
                                                             "btn1 = A"));
    // One invalid byte makes the whole file Windows-1252, the UTF-8 pair included.
    EXPECT_EQ(QStringLiteral("\u00c3\u00a9\u00e9"), decodeSettingsText("\xC3\xA9\xE9"));
}

TEST(SplitSettingsLines, AcceptsCrLfAndLf)
{
    EXPECT_EQ(QStringList({"a = 1", "", "b = 2", "c"}), splitSettingsLines("a = 1\r\n\r\nb = 2\nc"));
    EXPECT_EQ(QStringList({"a"}), splitSettingsLines("a\r\n"));
    EXPECT_EQ(QStringList(), splitSettingsLines(""));
}

TEST(TrimSpaces, RemovesSpacesButKeepsTabs)
{
    EXPECT_EQ(QStringLiteral("timeout"), trimSpaces(u"  timeout  "));
    EXPECT_EQ(QStringLiteral("\ttimeout"), trimSpaces(u" \ttimeout "));
    EXPECT_EQ(QString(), trimSpaces(u"   "));
}

TEST(FirstCharacters, NeverSplitsACharacterOutsideTheBasicPlane)
{
    EXPECT_EQ(QStringLiteral("abc"), firstCharacters(u"abcdef", 3));
    EXPECT_EQ(QStringLiteral("ab"), firstCharacters(u"ab", 100));
    EXPECT_EQ(QStringLiteral("a\U0001F600"), firstCharacters(u"a\U0001F600b", 2));
}
