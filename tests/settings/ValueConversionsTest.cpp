#include "settings/ValueConversions.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace quindle;

namespace {

const QString notWholeNumber = QStringLiteral("You have a value that cannot be read as a whole number:");

} // namespace

TEST(CountCommas, CountsEveryCommaAndNothingElse)
{
    EXPECT_EQ(0, countCommas(u""));
    EXPECT_EQ(0, countCommas(u"no separators; here"));
    EXPECT_EQ(7, countCommas(u"4,3,120,90,50,200,10,20"));
    EXPECT_EQ(3, countCommas(u",,,"));
}

TEST(ParseDecimal, AcceptsPlainDecimalsOnly)
{
    EXPECT_EQ(30.0, parseDecimal(u"30"));
    EXPECT_EQ(30.0, parseDecimal(u"  30 "));
    EXPECT_EQ(-2.5, parseDecimal(u"-2.5"));
    EXPECT_EQ(2.0, parseDecimal(u"+2"));
    EXPECT_EQ(0.5, parseDecimal(u".5"));
    EXPECT_EQ(5.0, parseDecimal(u"5."));
    EXPECT_EQ(1500.0, parseDecimal(u"1.5e3"));
    for (const char16_t* text : {u"", u" ", u".", u"-", u"1e", u"1 2", u"thirty", u"0x1F", u"inf", u"nan",
                                 u"1,5", u"\u0661\u0662", u"1e999"})
        EXPECT_FALSE(parseDecimal(text).has_value()) << QString::fromUtf16(text).toStdString();
}

TEST(RoundHalfToEven, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(0.0, roundHalfToEven(0.5));
    EXPECT_EQ(2.0, roundHalfToEven(1.5));
    EXPECT_EQ(2.0, roundHalfToEven(2.5));
    EXPECT_EQ(-2.0, roundHalfToEven(-2.5));
    EXPECT_EQ(-4.0, roundHalfToEven(-3.5));
    EXPECT_EQ(11.0, roundHalfToEven(10.6));
    EXPECT_EQ(10.0, roundHalfToEven(10.4));
}

TEST(ToBoolean, ReadsWordsInAnyCaseAndNumbers)
{
    EXPECT_TRUE(toBoolean(u"true").value);
    EXPECT_TRUE(toBoolean(u"TRUE").value);
    EXPECT_FALSE(toBoolean(u"False").value);
    EXPECT_FALSE(toBoolean(u"0").value);
    EXPECT_TRUE(toBoolean(u"-1").value);
    EXPECT_TRUE(toBoolean(u"0.5").value);
    EXPECT_TRUE(toBoolean(u"0").ok());

    EXPECT_EQ(QStringLiteral("You have a value that cannot be read as true or false:"),
              toBoolean(u"yes").failure);
    EXPECT_FALSE(toBoolean(u"").ok());
    EXPECT_FALSE(toBoolean(u"truely").ok());
}

TEST(ToWholeNumber, RoundsAndKeepsToSixteenBits)
{
    EXPECT_EQ(30, toWholeNumber(u" 30 ").value);
    EXPECT_EQ(2, toWholeNumber(u"2.5").value);
    EXPECT_EQ(4, toWholeNumber(u"3.5").value);
    EXPECT_EQ(32767, toWholeNumber(u"32767.4").value);
    EXPECT_EQ(-32768, toWholeNumber(u"-32768.5").value); // the even neighbour is in range

    const QString outside = QStringLiteral("You have a whole number outside the range -32768 to 32767:");
    EXPECT_EQ(outside, toWholeNumber(u"32768").failure);
    EXPECT_EQ(outside, toWholeNumber(u"32767.5").failure);
    EXPECT_EQ(outside, toWholeNumber(u"-40000").failure);
    EXPECT_EQ(notWholeNumber, toWholeNumber(u"thirty").failure);
    EXPECT_EQ(notWholeNumber, toWholeNumber(u"").failure);
}

TEST(ToReal, ReadsFloatsAndRefusesWhatAFloatCannotHold)
{
    EXPECT_EQ(1.25f, toReal(u"1.25").value);
    EXPECT_EQ(-3.0f, toReal(u"-3").value);
    EXPECT_EQ(QStringLiteral("You have a value that cannot be read as a number:"), toReal(u"one").failure);
    EXPECT_FALSE(toReal(u"1e39").ok());
}

TEST(ToPoints, AcceptsSizesAboveZero)
{
    EXPECT_EQ(15.75, toPoints(u"15.75").value);
    const QString failure =
        QStringLiteral("You have a font size that is not a number above 0 and at most 32767:");
    EXPECT_EQ(failure, toPoints(u"0").failure);
    EXPECT_EQ(failure, toPoints(u"-4").failure);
    EXPECT_EQ(failure, toPoints(u"40000").failure);
    EXPECT_EQ(failure, toPoints(u"big").failure);
}

TEST(ToColour, ReadsHexadecimalWithRedInTheLowestByte)
{
    EXPECT_EQ(0xFF0000u, toColour(u"FF0000").value); // pure blue in the settings' order
    EXPECT_EQ(0xFFu, toColour(u"ff").value);
    EXPECT_EQ(0u, toColour(u"0").value);
    EXPECT_EQ(0xFFFFFFFFu, toColour(u"FFFFFFFF").value);
    EXPECT_EQ(0xABu, toColour(u"0000000000AB").value);

    const QString failure = QStringLiteral("You have a value that cannot be read as a hexadecimal colour:");
    EXPECT_EQ(failure, toColour(u"").failure);
    EXPECT_EQ(failure, toColour(u"1FFFFFFFF").failure);
    EXPECT_EQ(failure, toColour(u"0xFF").failure);
    EXPECT_EQ(failure, toColour(u"&HFF").failure);
    EXPECT_EQ(failure, toColour(u"red").failure);
}

TEST(ToRebootTime, StoresSecondsAfterMidnight)
{
    EXPECT_EQ(48600, toRebootTime(u"13.5").value);
    EXPECT_EQ(0, toRebootTime(u"0").value);
    EXPECT_EQ(-3600, toRebootTime(u"-1").value);   // no range check on the time of day
    EXPECT_EQ(2, toRebootTime(u"0.000625").value); // 2.25 seconds
    EXPECT_EQ(QStringLiteral("You have a value that cannot be read as a number:"),
              toRebootTime(u"noon").failure);
    EXPECT_EQ(QStringLiteral("You have a reboot time that cannot be read as hours after midnight:"),
              toRebootTime(u"1e9").failure);
}
