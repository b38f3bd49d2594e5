#include "tracking/TrackingEvents.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace quindle;

namespace {

struct EventRow
{
    TrackingEvent event;
    QString argument;
    QString text; // as the shop's logs have always held it
};

const EventRow eventRows[] = {
    {TrackingEvent::ProgramStarted, {}, QStringLiteral("Program Started")},
    {TrackingEvent::NextButton, {}, QStringLiteral("Next Button Pressed")},
    {TrackingEvent::PrevButton, {}, QStringLiteral("Prev Button Pressed")},
    {TrackingEvent::CloseButton, {}, QStringLiteral("Close Button Pressed")},
    {TrackingEvent::LookupButton, {}, QStringLiteral("Lookup Button Pressed")},
    {TrackingEvent::LookupCanceled, {}, QStringLiteral("Lookup Canceled")},
    {TrackingEvent::Detail, QStringLiteral("Ring 01.jpg"), QStringLiteral("Detail: Ring 01.jpg")},
    {TrackingEvent::Print, QStringLiteral("a, \"b\".jpg"), QStringLiteral("Print: a, \"b\".jpg")},
    {TrackingEvent::Search, QString(), QStringLiteral("Search: ")},
    {TrackingEvent::Search, QStringLiteral("GOLD"), QStringLiteral("Search: GOLD")},
    {TrackingEvent::EnterAttract, {}, QStringLiteral("Enter Attract Mode")},
    {TrackingEvent::ExitAttract, {}, QStringLiteral("Exit Attract Mode")},
    {TrackingEvent::AutoReboot, {}, QStringLiteral("Program Termination: Auto Reboot")},
    {TrackingEvent::RightClick, {}, QStringLiteral("Program Termination: User Right-Click")},
};

} // namespace

TEST(TrackingEvents, EveryEventHasItsTextAndReadsBack)
{
    for (const EventRow& row : eventRows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(row.text, trackingText(row.event, row.argument));
        const QByteArray bytes = row.text.toUtf8();
        const std::optional<ReadTrackingText> read = readTrackingText(bytes);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(row.event, read->event);
        EXPECT_EQ(row.argument.toUtf8(), read->argument.toByteArray());
    }
}

TEST(TrackingEvents, MenuButtonsCarryTheirNumber)
{
    const int numbers[] = {1, 9, 10, 9999};
    for (const int number : numbers) {
        SCOPED_TRACE(number);
        const QString text = menuButtonText(number);
        EXPECT_EQ(QStringLiteral("Menu Button %1 Pressed").arg(number), text);
        const std::optional<ReadTrackingText> read = readTrackingText(text.toUtf8());
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(TrackingEvent::MenuButton, read->event);
        EXPECT_EQ(number, read->menuNumber);
    }
}

TEST(TrackingEvents, OtherTextsAreNoEvent)
{
    const char* texts[] = {
        "",
        "Program started",
        "program termination: auto reboot",
        "Detail:Ring.jpg",
        " Detail: Ring.jpg",
        "Menu Button 0 Pressed",
        "Menu Button 01 Pressed",
        "Menu Button 10000 Pressed",
        "Menu Button x Pressed",
        "Menu Button  Pressed",
        "Menu Button Pressed",
        "Menu Button 3",
        "Next Button Pressed ",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(readTrackingText(QByteArrayView(text)).has_value());
    }
}

TEST(TrackingEvents, TerminationTextsAreKnownInAnyCase)
{
    EXPECT_TRUE(isTerminationText(trackingText(TrackingEvent::AutoReboot)));
    EXPECT_TRUE(isTerminationText(trackingText(TrackingEvent::RightClick)));
    EXPECT_TRUE(isTerminationText(QStringLiteral("program termination: power")));
    EXPECT_FALSE(isTerminationText(trackingText(TrackingEvent::ProgramStarted)));
    EXPECT_FALSE(isTerminationText(trackingText(TrackingEvent::Detail, QStringLiteral("Program.jpg"))));
}
