#include "unattended/LogindSystemRestart.h"

#include "support/TempFolder.h"

#include <QDBusContext>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

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

enum class Bus { None, WithoutLogind, WithLogind, WithRefusingLogind };

struct Restart
{
    Bus bus;
    int systemctlStatus;     // -1: no systemctl either
    QList<bool> rebootCalls; // logind's, each with its "interactive" flag
    QByteArray systemctlArguments;
    int error;
    const char* reason; // for the journal, with the test's folder left out
};

const char* const refusedByLogind = "logind refused the restart: org.freedesktop.DBus.Error.AccessDenied "
                                    "(Interactive authentication required.)";

const Restart restarts[] = {
    // logind is asked for a restart without questions; when it refuses, systemctl is not tried.
    {Bus::WithLogind, 0, {false}, "", 0, ""},
    {Bus::WithRefusingLogind, 0, {false}, "", EACCES, refusedByLogind},
    // Without logind, or without a bus, systemctl is asked.
    {Bus::WithoutLogind, 0, {}, "reboot\n", 0, ""},
    {Bus::None, 1, {}, "reboot\n", EPERM, "\"/systemctl reboot\" exited with status 1"},
    {Bus::None, -1, {}, "", ENOENT, "neither logind nor \"/missing\" could be reached"},
};

} // namespace

TEST(LogindSystemRestart, AsksLogindOrElseSystemctl)
{
    // Connections are named anew for each bus: a name stays bound to its connection, which is kept open
    // until the program ends.
    static int connections = 0;
    for (const Restart& row : restarts) {
        SCOPED_TRACE(static_cast<int>(row.bus) * 10 + row.systemctlStatus);
        // A stand-in for systemctl records its arguments and exits with the row's status.
        TempFolder folder;
        const QString script =
            QStringLiteral("#!/bin/sh\necho \"$@\" >> \"${0%/*}/arguments.txt\"\nexit %1\n")
                .arg(row.systemctlStatus);
        QFile::setPermissions(folder.write(QStringLiteral("systemctl"), script.toUtf8()),
                              QFile::ReadOwner | QFile::ExeOwner);

        // A private message bus; the daemon prints its address once it listens.
        QProcess daemon;
        QString address = QStringLiteral("unix:path=") + folder.filePath(QStringLiteral("no-bus"));
        if (row.bus != Bus::None) {
            daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address",
                                                         "--address=unix:path=" + folder.filePath("bus")});
            while (!daemon.canReadLine() && daemon.waitForReadyRead(10'000)) {
            }
            address = QString::fromUtf8(daemon.readLine()).trimmed();
        }
        FakeLogindManager logind;
        logind.refuse = row.bus == Bus::WithRefusingLogind;
        QThread logindThread;
        if (row.bus == Bus::WithLogind || row.bus == Bus::WithRefusingLogind) {
            logind.moveToThread(&logindThread);
            logindThread.start();
            QDBusConnection connection =
                QDBusConnection::connectToBus(address, "logind-" + QString::number(++connections));
            connection.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind,
                                      QDBusConnection::ExportAllSlots);
            connection.registerService(QStringLiteral("org.freedesktop.login1"));
        }

        const QDBusConnection bus =
            QDBusConnection::connectToBus(address, "caller-" + QString::number(++connections));
        RestartOutcome outcome =
            LogindSystemRestart(bus, folder.filePath(row.systemctlStatus < 0 ? "missing" : "systemctl"))
                .requestRestart();
        EXPECT_EQ(row.error, outcome.error);
        EXPECT_EQ(QString::fromUtf8(row.reason), outcome.reason.remove(folder.path()));
        logindThread.quit();
        logindThread.wait();
        EXPECT_EQ(row.rebootCalls, logind.rebootCalls);
        EXPECT_EQ(row.systemctlArguments, folder.read(QStringLiteral("arguments.txt")));
    }
}

#include "LogindSystemRestartTest.moc"
