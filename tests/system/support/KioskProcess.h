#pragma once

#include "system/support/XServer.h"

namespace quindle::systemtest {

// The built kiosk program, started on a program folder and shown on a private X server. QProcess
// ends it by its process id when this object goes, whatever the test did.
class KioskProcess : public QProcess
{
public:
    // arguments follow the program folder's; a launcher (a program and its arguments) starts
    // the kiosk in its own process, as setpriv does.
    KioskProcess(XServer& server, const QString& programFolder, const QStringList& arguments = {},
                 const QStringList& launcher = {})
        : m_server(server)
    {
        setProcessEnvironment(server.environment());
        setStandardOutputFile(QProcess::nullDevice());
        setReadChannel(QProcess::StandardError);
        const QStringList command = launcher +
                                    QStringList{QStringLiteral(QUINDLE_BINARY_DIR "/app/quindle"),
                                                "--program-folder", programFolder} +
                                    arguments;
        setProgram(command.first());
        setArguments(command.mid(1));
        endWithParent(*this);
    }

    bool start()
    {
        QProcess::start();
        return waitForStarted(30'000);
    }
    // Asks the system, so that an end that the test has not waited for yet is seen at once.
    bool isRunning() { return !waitForFinished(0) && state() == QProcess::Running; }
    // Two pings to the kiosk's window in turn: the second is answered only after the event loop
    // came round again, so the input sent before the first has been handed to the kiosk's handlers.
    bool settle() { return window != 0 && m_server.ping(window) && m_server.ping(window); }
    bool waitForExit() { return state() == QProcess::NotRunning || waitForFinished(30'000); }
    bool exitedNormally() const { return exitStatus() == QProcess::NormalExit; }
    // Everything the kiosk wrote to standard error so far.
    QString standardError()
    {
        while (waitForReadyRead(0)) {
        }
        m_errors += readAllStandardError();
        return QString::fromUtf8(m_errors);
    }

    xcb_window_t window = 0;

private:
    XServer& m_server;
    QByteArray m_errors;
};

} // namespace quindle::systemtest
