#pragma once

#include "system/support/XServer.h"

#include <QProcess>
#include <QString>

namespace quindle::systemtest {

// The built kiosk program, started on a program folder and shown on a private X server.
// It is ended by its process id when this object goes, whatever the test did.
class KioskProcess
{
public:
    // arguments follow the program folder's; a launcher (a program and its arguments) starts
    // the kiosk in its own process, as setpriv does.
    KioskProcess(XServer& server, QString programFolder, QStringList arguments = {},
                 QStringList launcher = {});
    ~KioskProcess();
    KioskProcess(const KioskProcess&) = delete;
    KioskProcess& operator=(const KioskProcess&) = delete;

    // The built program: QUINDLE_BINARY_DIR/app/quindle.
    static QString programPath();

    bool start();
    // Waits until the kiosk's window is viewable and its event loop answers, and returns it;
    // 0 when that does not happen within the limit or the program ends first.
    xcb_window_t waitForWindow(int timeoutMs = 60'000);
    xcb_window_t window() const { return m_window; }
    qint64 processId() const { return m_process.processId(); }

    // Asks the system, so that an end that the test has not waited for yet is seen at once.
    bool isRunning();
    // Two pings in turn: the second is answered only after the event loop came round again,
    // so the input sent before the first has been handed to the kiosk's handlers.
    bool settle();

    // A termination signal: the kiosk writes its buffered log lines and ends.
    void terminate();
    bool waitForExit(int timeoutMs = 30'000);
    int exitCode() const { return m_process.exitCode(); }
    bool exitedNormally() const { return m_process.exitStatus() == QProcess::NormalExit; }

    // Everything the kiosk wrote to standard error so far.
    QString standardError();
    QString problem() const { return m_problem; }

private:
    XServer& m_server;
    QString m_programFolder;
    QStringList m_arguments;
    QStringList m_launcher;
    QProcess m_process;
    QByteArray m_errors;
    xcb_window_t m_window = 0;
    QString m_problem;
};

} // namespace quindle::systemtest
