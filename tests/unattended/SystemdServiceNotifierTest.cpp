#include "unattended/SystemdServiceNotifier.h"

#include "support/TempFolder.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

struct Environment
{
    bool notifySocket;
    const char* watchdogMicroseconds; // none: not set
    bool watchdogWanted;
    const char* received; // the datagrams, separated by "|"
};

const Environment environments[] = {
    {true, "30000000", true, "READY=1|WATCHDOG=1|WATCHDOG=1"},
    {true, nullptr, false, "READY=1"},
    {true, "0", false, "READY=1"},
    {true, "30s", false, "READY=1"},
    {false, "30000000", false, ""},
};

} // namespace

TEST(SystemdServiceNotifier, ReadinessAndSignsOfLifeReachTheServiceManager)
{
    for (const Environment& row : environments) {
        SCOPED_TRACE(row.received);
        // The service manager's end: a datagram socket bound in a temporary folder.
        const TempFolder folder;
        const QByteArray path = folder.filePath(QStringLiteral("notify")).toLocal8Bit();
        const int managerSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        ASSERT_EQ(0, bind(managerSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address));
        row.notifySocket ? setenv("NOTIFY_SOCKET", path.constData(), 1) : unsetenv("NOTIFY_SOCKET");
        row.watchdogMicroseconds ? setenv("WATCHDOG_USEC", row.watchdogMicroseconds, 1)
                                 : unsetenv("WATCHDOG_USEC");

        SystemdServiceNotifier notifier;
        notifier.notifyReady();
        notifier.notifyAlive();
        notifier.notifyAlive();
        unsetenv("NOTIFY_SOCKET");
        unsetenv("WATCHDOG_USEC");
        EXPECT_EQ(row.watchdogWanted, notifier.watchdogWanted());
        // The datagrams are waiting when sd_notify returns.
        QStringList received;
        char buffer[256];
        for (ssize_t length; (length = recv(managerSocket, buffer, sizeof buffer, MSG_DONTWAIT)) >= 0;)
            received.append(QString::fromLatin1(buffer, length));
        close(managerSocket);
        EXPECT_EQ(QString::fromUtf8(row.received), received.join('|'));
    }
}
