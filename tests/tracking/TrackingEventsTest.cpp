#include "tracking/TrackingEvents.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace quindle;

TEST(TrackingEvents, EachEventsTextReadsBack)
{
    // An event, its argument or the menu button's number, and its text as the shop's logs have always held
    // it. The other texts are read from the running kiosk's log in the journeys, and read back by the
    // activity report's test.
    const std::tuple<TrackingEvent, QString, QString> rows[] = {
        {TrackingEvent::ProgramStarted, {}, QStringLiteral("Program Started")},
        {TrackingEvent::MenuButton, QStringLiteral("10"), QStringLiteral("Menu Button 10 Pressed")},
        {TrackingEvent::NextButton, {}, QStringLiteral("Next Button Pressed")},
        {TrackingEvent::PrevButton, {}, QStringLiteral("Prev Button Pressed")},
        {TrackingEvent::Print, QStringLiteral("a, \"b\".jpg"), QStringLiteral("Print: a, \"b\".jpg")},
        {TrackingEvent::Search, QString(), QStringLiteral("Search: ")},
        {TrackingEvent::EnterAttract, {}, QStringLiteral("Enter Attract Mode")},
        {TrackingEvent::ExitAttract, {}, QStringLiteral("Exit Attract Mode")},
        {TrackingEvent::AutoReboot, {}, QStringLiteral("Program Termination: Auto Reboot")},
        {TrackingEvent::RightClick, {}, QStringLiteral("Program Termination: User Right-Click")},
        {TrackingEvent::ContentUpdate, {}, QStringLiteral("Program Termination: Content Update")},
    };
    for (const auto& [event, argument, text] : rows) {
        SCOPED_TRACE(text.toStdString());
        const bool menu = event == TrackingEvent::MenuButton;
        EXPECT_EQ(text, menu ? menuButtonText(argument.toInt()) : trackingText(event, argument));
        const std::optional<ReadTrackingText> read = readTrackingText(text.toUtf8());
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(event, read->event);
        EXPECT_EQ(argument, menu ? QString::number(read->menuNumber) : QString::fromUtf8(read->argument));
    }
}

TEST(TrackingEvents, OtherTextsAreNoEvent)
{
    for (const char* text :
         {"", "Program started", " Detail: Ring.jpg", "Detail:Ring.jpg", "Menu Button 0 Pressed",
          "Menu Button 01 Pressed", "Menu Button x Pressed", "Next Button Pressed "})
        EXPECT_FALSE(readTrackingText(QByteArrayView(text)).has_value()) << text;
}
