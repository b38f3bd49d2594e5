#include "system/support/KioskProcess.h"

#include <QDeadlineTimer>

namespace quindle::systemtest {

bool KioskProcess::start()
{
    m_process.setProcessEnvironment(m_server.environment());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setReadChannel(QProcess::StandardError);
    endWithParent(m_process);
    m_process.start(QStringLiteral(QUINDLE_BINARY_DIR "/app/quindle"), {"--program-folder", m_programFolder});
    return m_process.waitForStarted(30'000);
}

// On its private server the kiosk's is the only window named "Quindle" that is no popup.
TopLevelWindow KioskProcess::waitForWindow()
{
    const QDeadlineTimer deadline(60'000);
    while (!deadline.hasExpired() && isRunning()) {
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

bool KioskProcess::isRunning()
{
    m_process.waitForFinished(0);
    return m_process.state() == QProcess::Running;
}

QString KioskProcess::standardError()
{
    while (m_process.waitForReadyRead(0)) {
    }
    m_errors += m_process.readAllStandardError();
    return QString::fromUtf8(m_errors);
}

} // namespace quindle::systemtest
