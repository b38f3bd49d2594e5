#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/prctl.h>

namespace quindle::systemtest {

// Makes a child process die with the test program, so that nothing it started outlives it.
inline void endWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

// Polls until the check holds or the time is up.
inline bool waitFor(const std::function<bool()>& check, int timeoutMs = 20'000)
{
    for (const QDeadlineTimer deadline(timeoutMs); !check(); QThread::msleep(40)) {
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

// A port of 127.0.0.1 that nothing listens on now; the service started next takes it.
inline quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Sends an HTTP/1.0 request to a port of 127.0.0.1 and returns the body of a 200 answer; nothing
// for any other answer or none.
inline std::optional<QByteArray> httpRequest(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request);
    QByteArray answer;
    while (socket.waitForReadyRead(10'000))
        answer += socket.readAll();
    if (answer.mid(9, 4) != "200 ")
        return std::nullopt;
    return answer.mid(answer.indexOf("\r\n\r\n") + 4);
}

// Starts a service that dies with the test program (QProcess ends it with its object) and waits
// until it answers: false when it ended first or the time ran out.
inline bool startService(QProcess& process, const QString& program, const QStringList& arguments,
                         const std::function<bool()>& answers)
{
    endWithParent(process);
    process.start(program, arguments);
    const auto ended = [&] {
        return !process.waitForFinished(0) && process.state() == QProcess::NotRunning;
    };
    return waitFor([&] { return ended() || answers(); }, 30'000) && !ended();
}

} // namespace quindle::systemtest
