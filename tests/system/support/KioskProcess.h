#pragma once

#include "system/support/XServer.h"

namespace quindle::systemtest {

// The built kiosk program, started on a program folder and shown on a private X server. QProcess
// ends it by its process id when this object goes, whatever the test did.
class KioskProcess
{
public:
    KioskProcess(XServer& server, QString programFolder)
        : m_server(server), m_programFolder(std::move(programFolder))
    {
    }

    bool start();
    // Waits until the kiosk's window is viewable and its event loop answers, and returns it; its
    // id is 0 when that does not happen within a minute or the program ends first.
    TopLevelWindow waitForWindow();
    xcb_window_t window() const { return m_window; }

    // Asks the system, so that an end that the test has not waited for yet is seen at once.
    bool isRunning();
    // Two pings in turn: the second is answered only after the event loop came round again, so
    // the input sent before the first has been handed to the kiosk's handlers.
    bool settle() { return m_window != 0 && m_server.ping(m_window) && m_server.ping(m_window); }

    // A termination signal: the kiosk writes its buffered log lines and ends.
    void terminate() { m_process.terminate(); }
    bool waitForExit()
    {
        return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(30'000);
    }
    int exitCode() const { return m_process.exitCode(); }
    bool exitedNormally() const { return m_process.exitStatus() == QProcess::NormalExit; }
    // Everything the kiosk wrote to standard error so far.
    QString standardError();

private:
    XServer& m_server;
    QString m_programFolder;
    QProcess m_process;
    QByteArray m_errors;
    xcb_window_t m_window = 0;
};

} // namespace quindle::systemtest
