#pragma once

#include "unattended/SystemRestart.h"

#include <QDBusConnection>
#include <QString>

namespace quindle {

// Restarts through logind's Reboot(false) on the system bus, which polkit allows for
// the active seat session of the kiosk user (or through the shipped polkit rule).
// When there is no system bus or no logind on it, "systemctl reboot" is asked instead.
class LogindSystemRestart final : public SystemRestart
{
public:
    LogindSystemRestart();
    // The bus and the systemctl program can be replaced, so that the fall-back path
    // can be exercised without restarting anything.
    LogindSystemRestart(const QDBusConnection& bus, QString systemctlProgram);

    RestartOutcome requestRestart() override;

private:
    enum class LogindAnswer { Accepted, Refused, Absent };
    LogindAnswer askLogind(QString& refusal);
    RestartOutcome askSystemctl();

    QDBusConnection m_bus;
    QString m_systemctlProgram;
};

} // namespace quindle
