#include "system/support/KioskProcess.h"

#include <QDeadlineTimer>

namespace quindle::systemtest {

KioskProcess::KioskProcess(XServer& server, QString programFolder)
    : m_server(server), m_programFolder(std::move(programFolder))
{
}

bool KioskProcess::start()
{
    m_process.setProcessEnvironment(m_server.environment());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setReadChannel(QProcess::StandardError);
    endWithParent(m_process);
    m_process.start(QStringLiteral(QUINDLE_BINARY_DIR "/app/quindle"),
                    {QStringLiteral("--program-folder"), m_programFolder});
    if (m_process.waitForStarted(30'000))
        return true;
    m_problem = QStringLiteral("the kiosk did not start: ") + m_process.errorString();
    return false;
}

xcb_window_t KioskProcess::waitForWindow(int timeoutMs)
{
    // On its private server the kiosk's is the only window named "Quindle" that is no popup.
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && isRunning()) {
        for (const TopLevelWindow& shown : m_server.viewableTopLevels()) {
            if (shown.name == QStringLiteral("Quindle") && !shown.overrideRedirect) {
                m_window = shown.id;
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

bool KioskProcess::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

QString KioskProcess::standardError()
{
    while (m_process.state() == QProcess::Running && m_process.waitForReadyRead(0)) {
    }
    m_errors += m_process.readAllStandardError();
    return QString::fromUtf8(m_errors);
}

} // namespace quindle::systemtest
