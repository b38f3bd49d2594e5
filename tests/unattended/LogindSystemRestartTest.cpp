#include "unattended/LogindSystemRestart.h"

#include "support/TempFolder.h"

#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// A system without a bus: the restart must go to systemctl, here a script that records
// its arguments and exits with the given status.
struct NoBusRig
{
    explicit NoBusRig(int exitStatus)
        : bus(QDBusConnection::connectToBus(QStringLiteral("unix:path=") +
                                                folder.filePath(QStringLiteral("no-bus")),
                                            QStringLiteral("quindle-test-no-bus")))
    {
        const QString script = QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\nexit %2\n")
                                   .arg(folder.filePath(QStringLiteral("arguments.txt")))
                                   .arg(exitStatus);
        systemctl = folder.write(QStringLiteral("systemctl"), script.toUtf8());
        QFile::setPermissions(systemctl, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~NoBusRig() { QDBusConnection::disconnectFromBus(QStringLiteral("quindle-test-no-bus")); }
    NoBusRig(const NoBusRig&) = delete;
    NoBusRig& operator=(const NoBusRig&) = delete;

    QByteArray arguments() const { return folder.read(QStringLiteral("arguments.txt")); }

    TempFolder folder;
    QDBusConnection bus;
    QString systemctl;
};

} // namespace

TEST(LogindSystemRestart, WithoutBusAsksSystemctl)
{
    NoBusRig rig(0);
    ASSERT_FALSE(rig.bus.isConnected());
    LogindSystemRestart restart(rig.bus, rig.systemctl);
    EXPECT_TRUE(restart.requestRestart().ok());
    EXPECT_EQ(QByteArray("reboot\n"), rig.arguments());
}

TEST(LogindSystemRestart, SystemctlRefusalIsAnError)
{
    NoBusRig rig(1);
    LogindSystemRestart restart(rig.bus, rig.systemctl);
    EXPECT_EQ(EPERM, restart.requestRestart().error);
}

TEST(LogindSystemRestart, NoSystemctlEither)
{
    NoBusRig rig(0);
    LogindSystemRestart restart(rig.bus, rig.folder.filePath(QStringLiteral("missing-systemctl")));
    EXPECT_EQ(ENOENT, restart.requestRestart().error);
}
