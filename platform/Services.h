#pragma once

#include <QString>

namespace quindle {

class Clock;
class ClickSound;
class MessageBox;
class ProgramEnd;

// The platform services every part of the kiosk may use, composed once by the program.
struct Services
{
    Clock& clock;
    MessageBox& messages;
    ProgramEnd& programEnd;
    ClickSound& sound;

    // Shows the message, then ends the program with status 1.
    [[noreturn]] void endWithMessage(const QString& text) const;
};

} // namespace quindle
