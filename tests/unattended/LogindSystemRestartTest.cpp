#include "unattended/LogindSystemRestart.h"

#include "support/TempFolder.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cerrno>
#include <gtest/gtest.h>
#include <memory>

using namespace quindle;
using namespace quindle::test;

namespace {

// Stands in for systemctl: records its arguments and exits with the given status.
QString writeSystemctl(const TempFolder& folder, int exitStatus)
{
    const QString script = QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\nexit %2\n")
                               .arg(folder.filePath(QStringLiteral("systemctl-arguments.txt")))
                               .arg(exitStatus);
    const QString path = folder.write(QStringLiteral("systemctl"), script.toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray systemctlArguments(const TempFolder& folder)
{
    return folder.read(QStringLiteral("systemctl-arguments.txt"));
}

const QString callerName = QStringLiteral("quindle-test-caller");

// A system without a bus.
struct NoBusRig
{
    explicit NoBusRig(int exitStatus)
        : bus(QDBusConnection::connectToBus(
              QStringLiteral("unix:path=") + folder.filePath(QStringLiteral("no-bus")), callerName)),
          systemctl(writeSystemctl(folder, exitStatus))
    {
    }
    ~NoBusRig() { QDBusConnection::disconnectFromBus(callerName); }
    NoBusRig(const NoBusRig&) = delete;
    NoBusRig& operator=(const NoBusRig&) = delete;

    TempFolder folder;
    QDBusConnection bus;
    QString systemctl;
};

} // namespace

// logind's manager object as far as the restart uses it. It lives on its own thread, so
// that it can answer while the caller waits for the reply.
class FakeLogindManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    bool refuse = false;
    QList<bool> rebootCalls;

public slots:
    void Reboot(bool interactive)
    {
        rebootCalls.append(interactive);
        if (refuse)
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Interactive authentication required."));
    }
};

namespace {

// A private message bus, optionally with the fake logind on it.
class PrivateBusRig
{
public:
    explicit PrivateBusRig(bool withLogind) : systemctl(writeSystemctl(folder, 0))
    {
        startBus();
        if (withLogind)
            startLogind();
    }
    ~PrivateBusRig()
    {
        m_logindThread.quit();
        m_logindThread.wait();
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
    PrivateBusRig(const PrivateBusRig&) = delete;
    PrivateBusRig& operator=(const PrivateBusRig&) = delete;

    QDBusConnection caller() const { return QDBusConnection::connectToBus(m_address, m_callerName); }

    TempFolder folder;
    QString systemctl;
    std::unique_ptr<FakeLogindManager> logind;

private:
    void startBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address"),
                        QStringLiteral("--address=unix:path=") + folder.filePath(QStringLiteral("bus"))});
        // The daemon prints its address once it listens.
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10'000)) {
        }
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }

    void startLogind()
    {
        logind = std::make_unique<FakeLogindManager>();
        logind->moveToThread(&m_logindThread);
        m_logindThread.start();
        QDBusConnection connection = QDBusConnection::connectToBus(m_address, m_logindName);
        connection.registerObject(QStringLiteral("/org/freedesktop/login1"), logind.get(),
                                  QDBusConnection::ExportAllSlots);
        connection.registerService(QStringLiteral("org.freedesktop.login1"));
    }

    // Connections are named anew for each bus: a name stays bound to its connection,
    // which is kept open until the program ends.
    static inline int s_buses = 0;
    QString m_callerName = QStringLiteral("quindle-test-caller-%1").arg(++s_buses);
    QString m_logindName = QStringLiteral("quindle-test-logind-%1").arg(s_buses);
    QProcess m_daemon;
    QString m_address;
    QThread m_logindThread;
};

} // namespace

TEST(LogindSystemRestart, AsksLogindForANonInteractiveReboot)
{
    PrivateBusRig rig(true);
    ASSERT_TRUE(rig.caller().isConnected());
    LogindSystemRestart restart(rig.caller(), rig.systemctl);
    EXPECT_TRUE(restart.requestRestart().ok());
    EXPECT_EQ(QList<bool>{false}, rig.logind->rebootCalls);
    EXPECT_EQ(QByteArray(), systemctlArguments(rig.folder));
}

TEST(LogindSystemRestart, LogindRefusalIsAnErrorWithoutFallBack)
{
    PrivateBusRig rig(true);
    rig.logind->refuse = true;
    LogindSystemRestart restart(rig.caller(), rig.systemctl);
    EXPECT_EQ(EACCES, restart.requestRestart().error);
    EXPECT_EQ(1, rig.logind->rebootCalls.size());
    EXPECT_EQ(QByteArray(), systemctlArguments(rig.folder));
}

TEST(LogindSystemRestart, BusWithoutLogindAsksSystemctl)
{
    PrivateBusRig rig(false);
    ASSERT_TRUE(rig.caller().isConnected());
    LogindSystemRestart restart(rig.caller(), rig.systemctl);
    EXPECT_TRUE(restart.requestRestart().ok());
    EXPECT_EQ(QByteArray("reboot\n"), systemctlArguments(rig.folder));
}

TEST(LogindSystemRestart, WithoutBusAsksSystemctl)
{
    NoBusRig rig(0);
    ASSERT_FALSE(rig.bus.isConnected());
    LogindSystemRestart restart(rig.bus, rig.systemctl);
    EXPECT_TRUE(restart.requestRestart().ok());
    EXPECT_EQ(QByteArray("reboot\n"), systemctlArguments(rig.folder));
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

#include "LogindSystemRestartTest.moc"
