#pragma once

namespace quindle {

// The watchdog card's library: loaded once at activation, then called from the
// user-interface thread only.
class WatchdogLibrary
{
public:
    virtual ~WatchdogLibrary() = default;
    // Loads the library; false when it cannot be loaded or lacks an entry point.
    virtual bool open() = 0;
    // Prepares the library for commands; called once, before the first command.
    virtual void init() = 0;
    // Sends one 3-byte command; 1 means the card accepted it, anything else is a failure.
    virtual unsigned char sendCommand(const unsigned char* command) = 0;
};

} // namespace quindle
