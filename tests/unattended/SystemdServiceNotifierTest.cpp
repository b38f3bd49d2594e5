#include "unattended/SystemdServiceNotifier.h"

#include "support/TempFolder.h"

#include <QByteArray>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Plays the service manager's end of the notification socket: a datagram socket bound
// in a temporary folder and named in NOTIFY_SOCKET.
class NotifySocket : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_folder.filePath(QStringLiteral("notify")).toLocal8Bit();
        m_socket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(m_socket, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(static_cast<size_t>(m_path.size()), sizeof address.sun_path);
        std::memcpy(address.sun_path, m_path.constData(), static_cast<size_t>(m_path.size()));
        ASSERT_EQ(0, bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address));
        setenv("NOTIFY_SOCKET", m_path.constData(), 1);
        unsetenv("WATCHDOG_USEC");
    }

    void TearDown() override
    {
        unsetenv("NOTIFY_SOCKET");
        unsetenv("WATCHDOG_USEC");
        if (m_socket >= 0)
            close(m_socket);
    }

    // The datagrams waiting on the socket; the sender has finished when sd_notify returns.
    QList<QByteArray> received() const
    {
        QList<QByteArray> messages;
        char buffer[256];
        for (;;) {
            const ssize_t length = recv(m_socket, buffer, sizeof buffer, MSG_DONTWAIT);
            if (length < 0)
                return messages;
            messages.append(QByteArray(buffer, static_cast<qsizetype>(length)));
        }
    }

private:
    TempFolder m_folder;
    QByteArray m_path;
    int m_socket = -1;
};

} // namespace

TEST_F(NotifySocket, ReadyAndWatchdogReachTheServiceManager)
{
    setenv("WATCHDOG_USEC", "30000000", 1);
    SystemdServiceNotifier notifier;
    EXPECT_TRUE(notifier.watchdogWanted());
    notifier.notifyReady();
    notifier.notifyAlive();
    notifier.notifyAlive();
    const QList<QByteArray> expected{"READY=1", "WATCHDOG=1", "WATCHDOG=1"};
    EXPECT_EQ(expected, received());
}

TEST_F(NotifySocket, WithoutWatchdogTimeOnlyReadinessIsSent)
{
    SystemdServiceNotifier notifier;
    notifier.notifyReady();
    notifier.notifyAlive();
    EXPECT_EQ(QList<QByteArray>{"READY=1"}, received());
}

TEST_F(NotifySocket, UnusableWatchdogTimeIsIgnored)
{
    for (const char* value : {"0", "thirty", "30s", ""}) {
        setenv("WATCHDOG_USEC", value, 1);
        SystemdServiceNotifier notifier;
        notifier.notifyAlive();
        EXPECT_FALSE(notifier.watchdogWanted()) << value;
    }
    EXPECT_TRUE(received().isEmpty());
}

TEST_F(NotifySocket, WithoutNotifySocketNothingIsSent)
{
    unsetenv("NOTIFY_SOCKET");
    setenv("WATCHDOG_USEC", "30000000", 1);
    SystemdServiceNotifier notifier;
    notifier.notifyReady();
    notifier.notifyAlive();
    EXPECT_FALSE(notifier.watchdogWanted());
    EXPECT_TRUE(received().isEmpty());
}
