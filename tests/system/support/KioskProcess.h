#pragma once

#include "system/support/XServer.h"

#include <QDeadlineTimer>

namespace quindle::systemtest {

// The built kiosk program, started on a program folder and shown on a private X server. QProcess
// ends it by its process id when this object goes, whatever the test did.
class KioskProcess
{
public:
    KioskProcess(XServer& server, const QString& programFolder) : m_server(server)
    {
        m_process.setProcessEnvironment(server.environment());
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setReadChannel(QProcess::StandardError);
        m_process.setProgram(QStringLiteral(QUINDLE_BINARY_DIR "/app/quindle"));
        m_process.setArguments({"--program-folder", programFolder});
        endWithParent(m_process);
    }

    bool start()
    {
        m_process.start();
        return m_process.waitForStarted(30'000);
    }

    // Waits until the kiosk's window is viewable and its event loop answers, and returns it; its id
    // is 0 when that does not happen within a minute or the program ends first. On its private
    // server the kiosk's is the only window named "Quindle" that is no popup.
    TopLevelWindow waitForWindow()
    {
        for (const QDeadlineTimer deadline(60'000); !deadline.hasExpired() && isRunning();) {
            for (const TopLevelWindow& shown : m_server.viewableTopLevels()) {
                if (shown.name == QStringLiteral("Quindle") && !shown.overrideRedirect) {
                    m_window = shown.id;
                    return settle() ? shown : TopLevelWindow();
                }
            }
            m_process.waitForFinished(50);
        }
        return {};
    }
    xcb_window_t window() const { return m_window; }

    // Asks the system, so that an end that the test has not waited for yet is seen at once.
    bool isRunning()
    {
        m_process.waitForFinished(0);
        return m_process.state() == QProcess::Running;
    }
    // Two pings in turn: the second is answered only after the event loop came round again, so the
    // input sent before the first has been handed to the kiosk's handlers.
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
    QString standardError()
    {
        while (m_process.waitForReadyRead(0)) {
        }
        m_errors += m_process.readAllStandardError();
        return QString::fromUtf8(m_errors);
    }

private:
    XServer& m_server;
    QProcess m_process;
    QByteArray m_errors;
    xcb_window_t m_window = 0;
};

} // namespace quindle::systemtest
