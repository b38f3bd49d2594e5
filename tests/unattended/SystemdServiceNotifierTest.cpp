#include "unattended/SystemdServiceNotifier.h"

#include "support/TempFolder.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <tuple>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Whether NOTIFY_SOCKET is set, WATCHDOG_USEC (none: not set), whether the watchdog is wanted, and the
// datagrams received, separated by "|".
const std::tuple<bool, const char*, bool, const char*> environments[] = {
    {true, "30000000", true, "READY=1|WATCHDOG=1|WATCHDOG=1"},
    {true, nullptr, false, "READY=1"},
    {true, "0", false, "READY=1"},
    {true, "30s", false, "READY=1"},
    {false, "30000000", false, ""},
};

} // namespace

TEST(SystemdServiceNotifier, ReadinessAndSignsOfLifeReachTheServiceManager)
{
    for (const auto& [notifySocket, watchdogMicroseconds, watchdogWanted, expected] : environments) {
        SCOPED_TRACE(expected);
        // The service manager's end: a datagram socket bound in a temporary folder.
        const TempFolder folder;
        const QByteArray path = folder.filePath(QStringLiteral("notify")).toLocal8Bit();
        const int managerSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        ASSERT_EQ(0, bind(managerSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address));
        notifySocket ? setenv("NOTIFY_SOCKET", path.constData(), 1) : unsetenv("NOTIFY_SOCKET");
        watchdogMicroseconds ? setenv("WATCHDOG_USEC", watchdogMicroseconds, 1) : unsetenv("WATCHDOG_USEC");

        SystemdServiceNotifier notifier;
        notifier.notifyReady();
        notifier.notifyAlive();
        notifier.notifyAlive();
        unsetenv("NOTIFY_SOCKET");
        unsetenv("WATCHDOG_USEC");
        EXPECT_EQ(watchdogWanted, notifier.watchdogWanted());
        // The datagrams are waiting when sd_notify returns.
        QStringList received;
        char buffer[256];
        for (ssize_t length; (length = recv(managerSocket, buffer, sizeof buffer, MSG_DONTWAIT)) >= 0;)
            received.append(QString::fromLatin1(buffer, length));
        close(managerSocket);
        EXPECT_EQ(QString::fromUtf8(expected), received.join('|'));
    }
}
