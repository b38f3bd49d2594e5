#pragma once

#include <QString>

namespace quindle {

class MessageBox;
class WatchdogLibrary;

// Keeps the USB watchdog card armed while the kiosk lives: armed at the first activation,
// a sign of life every fifth tick, disarmed only by the operator's exit. While "hang.txt"
// lies in the program folder no sign of life is sent, so the card restarts the machine as
// it would after a hang.
//
// Every call does nothing while the watchdog is off: switched off in the settings, or
// switched off by start() because the library cannot be loaded.
class Watchdog
{
public:
    static constexpr unsigned char enableCommand[3] = {0x30, 0xFF, 0xFF};
    static constexpr unsigned char disableCommand[3] = {0x30, 0xC3, 0xA5};
    static constexpr unsigned char tickCommand[3] = {0x02, 0x00, 0x00};

    Watchdog(bool enabled, QString programFolder, WatchdogLibrary& library, MessageBox& messageBox);

    // Activation: loads the library (or reports it missing and switches itself off),
    // prepares it, yields to pending screen events and arms the card.
    void start();
    // Each tick.
    void tickle();
    // The operator's exit, before the exit is logged.
    void disable();

    bool isEnabled() const { return m_enabled; }

private:
    bool hangMarkerExists() const;
    bool send(const unsigned char* command);

    bool m_enabled;
    QString m_programFolder;
    WatchdogLibrary& m_library;
    MessageBox& m_messageBox;
    int m_tickDivider = 0;
};

} // namespace quindle
