#include "system/support/KioskProcess.h"

#include <QDeadlineTimer>

namespace quindle::systemtest {

KioskProcess::KioskProcess(XServer& server, QString programFolder, QStringList arguments,
                           QStringList launcher)
    : m_server(server), m_programFolder(std::move(programFolder)), m_arguments(std::move(arguments)),
      m_launcher(std::move(launcher))
{
}

KioskProcess::~KioskProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10'000);
}

QString KioskProcess::programPath()
{
    return QStringLiteral(QUINDLE_BINARY_DIR "/app/quindle");
}

bool KioskProcess::start()
{
    const QStringList command =
        m_launcher + QStringList{programPath(), QStringLiteral("--program-folder"), m_programFolder} +
        m_arguments;
    m_process.setProgram(command.first());
    m_process.setArguments(command.mid(1));
    m_process.setProcessEnvironment(m_server.environment());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setReadChannel(QProcess::StandardError);
    endWithParent(m_process);
    m_process.start();
    if (!m_process.waitForStarted(30'000)) {
        m_problem = QStringLiteral("the kiosk did not start: ") + m_process.errorString();
        return false;
    }
    return true;
}

xcb_window_t KioskProcess::waitForWindow(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && isRunning()) {
        for (const TopLevelWindow& shown : m_server.viewableTopLevels()) {
            if (m_server.windowProcessId(shown.client) == static_cast<quint32>(m_process.processId()) &&
                shown.name == QStringLiteral("Quindle") && !shown.overrideRedirect) {
                m_window = shown.client;
                return settle() ? m_window : 0;
            }
        }
        m_process.waitForFinished(50);
    }
    m_problem = isRunning() ? QStringLiteral("no kiosk window appeared")
                            : QStringLiteral("the kiosk ended: ") + standardError();
    return 0;
}

bool KioskProcess::isRunning()
{
    if (m_process.state() == QProcess::Running)
        m_process.waitForFinished(0);
    return m_process.state() == QProcess::Running;
}

bool KioskProcess::settle()
{
    return m_window != 0 && m_server.ping(m_window) && m_server.ping(m_window);
}

void KioskProcess::terminate()
{
    m_process.terminate();
}

bool KioskProcess::waitForExit(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    return m_process.waitForFinished(timeoutMs);
}

QString KioskProcess::standardError()
{
    while (m_process.state() == QProcess::Running && m_process.waitForReadyRead(0)) {
    }
    m_errors += m_process.readAllStandardError();
    return QString::fromUtf8(m_errors);
}

} // namespace quindle::systemtest
