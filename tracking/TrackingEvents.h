#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace quindle {

// What the kiosk writes to the tracking log. Each event has one text, made and read back
// here only: the kiosk writes the texts, the owner's report counts them, and logs written
// years ago must still read the same.
enum class TrackingEvent {
    ProgramStarted, // "Program Started"
    MenuButton,     // "Menu Button " + N + " Pressed"
    NextButton,     // "Next Button Pressed"
    PrevButton,     // "Prev Button Pressed"
    CloseButton,    // "Close Button Pressed"
    LookupButton,   // "Lookup Button Pressed"
    LookupCanceled, // "Lookup Canceled"
    Detail,         // "Detail: " + picture file name
    Print,          // "Print: " + picture file name
    Search,         // "Search: " + the typed text
    EnterAttract,   // "Enter Attract Mode"
    ExitAttract,    // "Exit Attract Mode"
    AutoReboot,     // "Program Termination: Auto Reboot"
    RightClick,     // "Program Termination: User Right-Click"
    ContentUpdate,  // "Program Termination: Content Update"
};

// The text of an event; argument is the file name or search text of the events that name
// one, and is left out of every other.
QString trackingText(TrackingEvent event, const QString& argument = {});
QString menuButtonText(int number);

// Every text that ends the program starts so, whatever its letter case: the log writes
// its buffer at once for such a text.
inline constexpr char terminationTextStart[] = "Program Termination";
bool isTerminationText(const QString& text);

// A text read back from a log.
struct ReadTrackingText
{
    TrackingEvent event;
    int menuNumber = 0;      // MenuButton: 1 and up, written without leading zeros
    QByteArrayView argument; // Detail, Print, Search: the text after the event's own words
};

// The event of a text as the kiosk writes it, compared as written; nothing for any other
// text (another program's, a damaged one, a menu number with leading zeros).
std::optional<ReadTrackingText> readTrackingText(QByteArrayView text);

} // namespace quindle
