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
    switch (askLogind()) {
    case LogindAnswer::Accepted:
        return {};
    case LogindAnswer::Refused:
        return {EACCES};
    case LogindAnswer::Absent:
        break;
    }
    return askSystemctl();
}

LogindSystemRestart::LogindAnswer LogindSystemRestart::askLogind()
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
    if (meansLogindAbsent(QDBusError(reply).type()))
        return LogindAnswer::Absent;
    return LogindAnswer::Refused;
}

RestartOutcome LogindSystemRestart::askSystemctl()
{
    QProcess systemctl;
    systemctl.setProcessChannelMode(QProcess::ForwardedChannels);
    systemctl.start(m_systemctlProgram, {QStringLiteral("reboot")});
    if (!systemctl.waitForStarted())
        return {ENOENT};
    if (!systemctl.waitForFinished(systemctlTimeoutMs)) {
        systemctl.kill();
        systemctl.waitForFinished();
        return {EPERM};
    }
    if (systemctl.exitStatus() != QProcess::NormalExit || systemctl.exitCode() != 0)
        return {EPERM};
    return {};
}

} // namespace quindle
