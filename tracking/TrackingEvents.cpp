#include "tracking/TrackingEvents.h"

#include <array>

namespace quindle {

namespace {

enum class Shape {
    Fixed,    // the text alone
    Named,    // the text, then a name
    Numbered, // "%1" in the text stands for a menu button's number
};

struct EventText
{
    TrackingEvent event;
    QByteArrayView text; // its length counted once, when the program is built
    Shape shape;
};

constexpr std::array<EventText, 15> eventTexts = {{
    {TrackingEvent::ProgramStarted, "Program Started", Shape::Fixed},
    {TrackingEvent::MenuButton, "Menu Button %1 Pressed", Shape::Numbered},
    {TrackingEvent::NextButton, "Next Button Pressed", Shape::Fixed},
    {TrackingEvent::PrevButton, "Prev Button Pressed", Shape::Fixed},
    {TrackingEvent::CloseButton, "Close Button Pressed", Shape::Fixed},
    {TrackingEvent::LookupButton, "Lookup Button Pressed", Shape::Fixed},
    {TrackingEvent::LookupCanceled, "Lookup Canceled", Shape::Fixed},
    {TrackingEvent::Detail, "Detail: ", Shape::Named},
    {TrackingEvent::Print, "Print: ", Shape::Named},
    {TrackingEvent::Search, "Search: ", Shape::Named},
    {TrackingEvent::EnterAttract, "Enter Attract Mode", Shape::Fixed},
    {TrackingEvent::ExitAttract, "Exit Attract Mode", Shape::Fixed},
    {TrackingEvent::AutoReboot, "Program Termination: Auto Reboot", Shape::Fixed},
    {TrackingEvent::RightClick, "Program Termination: User Right-Click", Shape::Fixed},
    {TrackingEvent::ContentUpdate, "Program Termination: Content Update", Shape::Fixed},
}};

const EventText& textOf(TrackingEvent event)
{
    for (const EventText& entry : eventTexts) {
        if (entry.event == event)
            return entry;
    }
    // Every event has its row above.
    return eventTexts.front();
}

// The decimal number a menu button text holds: 1 to 9999 without leading zeros.
std::optional<int> menuNumberIn(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 4 || digits[0] == '0')
        return std::nullopt;
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

} // namespace

QString trackingText(TrackingEvent event, const QString& argument)
{
    const EventText& entry = textOf(event);
    const QString text = QString::fromLatin1(entry.text);
    switch (entry.shape) {
    case Shape::Fixed:
        return text;
    case Shape::Named:
        return text + argument;
    case Shape::Numbered:
        return text.arg(argument);
    }
    return text;
}

QString menuButtonText(int number)
{
    return trackingText(TrackingEvent::MenuButton, QString::number(number));
}

bool isTerminationText(const QString& text)
{
    return text.contains(QLatin1StringView(terminationTextStart), Qt::CaseInsensitive);
}

std::optional<ReadTrackingText> readTrackingText(QByteArrayView text)
{
    for (const EventText& entry : eventTexts) {
        const QByteArrayView words = entry.text;
        // Each way to match below needs the first letters to be the same.
        if (text.isEmpty() || text.front() != words.front())
            continue;
        switch (entry.shape) {
        case Shape::Fixed:
            if (text == words)
                return ReadTrackingText{entry.event, 0, {}};
            break;
        case Shape::Named:
            if (text.startsWith(words))
                return ReadTrackingText{entry.event, 0, text.sliced(words.size())};
            break;
        case Shape::Numbered: {
            const qsizetype number = words.indexOf("%1");
            const QByteArrayView before = words.first(number);
            const QByteArrayView after = words.sliced(number + 2);
            if (!text.startsWith(before))
                break;
            // Only a menu button text starts so: a damaged one is no other event.
            if (text.size() < before.size() + after.size() || !text.endsWith(after))
                return std::nullopt;
            const std::optional<int> menuNumber =
                menuNumberIn(text.sliced(before.size(), text.size() - before.size() - after.size()));
            if (!menuNumber)
                return std::nullopt;
            return ReadTrackingText{entry.event, *menuNumber, {}};
        }
        }
    }
    return std::nullopt;
}

} // namespace quindle
