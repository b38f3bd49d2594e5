#include "unattended/LogindSystemRestart.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QProcess>
#include <cerrno>
#include <utility>

namespace quindle {

namespace {

// logind answers at once (the restart itself runs after the reply), so these only
// bound how long a broken system can hold up the user-interface thread. Together they stay
// below the service's 30-second watchdog, which the held-up thread cannot feed.
constexpr int logindTimeoutMs = 10'000;
constexpr int systemctlTimeoutMs = 15'000;

bool meansLogindAbsent(QDBusError::ErrorType type)
{
    switch (type) {
    case QDBusError::Disconnected:
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::NoServer:
    case QDBusError::NoReply:
    case QDBusError::Timeout:
        return true;
    default:
        return false;
    }
}

} // namespace

LogindSystemRestart::LogindSystemRestart()
    : LogindSystemRestart(QDBusConnection::systemBus(), QStringLiteral("systemctl"))
{
}

LogindSystemRestart::LogindSystemRestart(const QDBusConnection& bus, QString systemctlProgram)
    : m_bus(bus), m_systemctlProgram(std::move(systemctlProgram))
{
}

RestartOutcome LogindSystemRestart::requestRestart()
{
    QString refusal;
    switch (askLogind(refusal)) {
    case LogindAnswer::Accepted:
        return {};
    case LogindAnswer::Refused:
        return {EACCES, QStringLiteral("logind refused the restart: ") + refusal};
    case LogindAnswer::Absent:
        break;
    }
    return askSystemctl();
}

LogindSystemRestart::LogindAnswer LogindSystemRestart::askLogind(QString& refusal)
{
    if (!m_bus.isConnected())
        return LogindAnswer::Absent;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Reboot"));
    // Not interactive: nobody is there to type a password.
    call << false;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, logindTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return LogindAnswer::Accepted;
    const QDBusError error(reply);
    if (meansLogindAbsent(error.type()))
        return LogindAnswer::Absent;
    refusal = error.message().isEmpty()
                  ? error.name()
                  : error.name() + QStringLiteral(" (") + error.message() + QLatin1Char(')');
    return LogindAnswer::Refused;
}

RestartOutcome LogindSystemRestart::askSystemctl()
{
    QProcess systemctl;
    systemctl.setProcessChannelMode(QProcess::ForwardedChannels);
    systemctl.start(m_systemctlProgram, {QStringLiteral("reboot")});
    if (!systemctl.waitForStarted())
        return {ENOENT, QStringLiteral("neither logind nor \"%1\" could be reached").arg(m_systemctlProgram)};
    if (!systemctl.waitForFinished(systemctlTimeoutMs)) {
        systemctl.kill();
        systemctl.waitForFinished();
        return {EPERM, QStringLiteral("\"%1 reboot\" did not finish within %2 seconds")
                           .arg(m_systemctlProgram)
                           .arg(systemctlTimeoutMs / 1000)};
    }
    if (systemctl.exitStatus() != QProcess::NormalExit)
        return {EPERM, QStringLiteral("\"%1 reboot\" crashed").arg(m_systemctlProgram)};
    if (systemctl.exitCode() != 0)
        return {EPERM, QStringLiteral("\"%1 reboot\" exited with status %2")
                           .arg(m_systemctlProgram)
                           .arg(systemctl.exitCode())};
    return {};
}

} // namespace quindle
