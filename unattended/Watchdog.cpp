#include "unattended/Watchdog.h"

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "unattended/WatchdogLibrary.h"

#include <QCoreApplication>
#include <utility>

namespace quindle {

namespace {

// One tick command for every fifth tickle: the card's own time-out is longer than that.
constexpr int ticklesPerCommand = 5;

} // namespace

Watchdog::Watchdog(bool enabled, QString programFolder, WatchdogLibrary& library, MessageBox& messageBox)
    : m_enabled(enabled), m_programFolder(std::move(programFolder)), m_library(library),
      m_messageBox(messageBox)
{
}

void Watchdog::start()
{
    if (!m_enabled)
        return;
    if (!m_library.open()) {
        m_enabled = false;
        m_messageBox.show(QStringLiteral(
            "Missing required file \"libwdogusb.so\" for the USB watchdog - disabling this option."));
        return;
    }
    m_library.init();
    QCoreApplication::processEvents();
    if (!send(enableCommand)) {
        m_messageBox.show(QStringLiteral("Could not re-enable watchdog"));
        return;
    }
    if (!send(tickCommand))
        m_messageBox.show(QStringLiteral("Could not start USB watchdog"));
}

void Watchdog::tickle()
{
    if (!m_enabled || hangMarkerExists())
        return;
    if (m_tickDivider == 0) {
        m_tickDivider = ticklesPerCommand;
        return;
    }
    --m_tickDivider;
    if (m_tickDivider != 0)
        return;
    m_tickDivider = ticklesPerCommand;
    if (!send(tickCommand))
        m_messageBox.show(QStringLiteral("Error in USB tickle"));
}

void Watchdog::disable()
{
    if (!m_enabled)
        return;
    if (!send(disableCommand))
        m_messageBox.show(QStringLiteral("Could not disable the USB watchdog"));
}

bool Watchdog::hangMarkerExists() const
{
    return fileExists(resolveCaseless(m_programFolder, QStringLiteral("hang.txt")));
}

bool Watchdog::send(const unsigned char* command)
{
    return m_library.sendCommand(command) == 1;
}

} // namespace quindle
