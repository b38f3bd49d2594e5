#include "tracking/TerminationSignals.h"
#include "LogFileReader.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Runs the event loop until the callback has run; the wake-up is already in the pipe when
// raise() returns, so a few rounds suffice.
void deliverPendingEvents(const int& calls)
{
    for (int round = 0; round < 100 && calls == 0; ++round)
        QCoreApplication::processEvents();
}

} // namespace

TEST(TerminationSignals, SignalReachesTheCallbackOnlyThroughTheEventLoop)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        int calls = 0;
        int received = 0;
        TerminationSignals terminationSignals([&](int number) {
            ++calls;
            received = number;
        });
        ASSERT_TRUE(terminationSignals.installed());

        std::raise(signalNumber);
        EXPECT_EQ(0, calls) << "the handler itself must do no work";
        deliverPendingEvents(calls);
        EXPECT_EQ(1, calls);
        EXPECT_EQ(signalNumber, received);
    }
}

TEST(TerminationSignals, RestoresThePreviousHandlingWhenItGoes)
{
    struct sigaction previous
    {
    };
    struct sigaction ignore
    {
    };
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGHUP, &ignore, &previous);
    {
        TerminationSignals terminationSignals([](int) {});
        EXPECT_TRUE(terminationSignals.installed());
        TerminationSignals second([](int) {});
        EXPECT_FALSE(second.installed());
    }
    struct sigaction now
    {
    };
    ::sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(SIG_IGN, now.sa_handler);
    ::sigaction(SIGHUP, &previous, nullptr);
}

TEST(TerminationSignals, SigtermWritesTheWaitingLinesAndEndsTheKiosk)
{
    TempFolder program;
    QProcess kiosk;
    kiosk.start(QStringLiteral(QUINDLE_SIGNAL_HELPER), {program.path()});
    ASSERT_TRUE(kiosk.waitForStarted(30'000));
    while (!kiosk.canReadLine())
        ASSERT_TRUE(kiosk.waitForReadyRead(30'000));
    EXPECT_EQ(QByteArray("ready\n"), kiosk.readLine());
    EXPECT_TRUE(QDir(program.filePath(QStringLiteral("log files"))).isEmpty());

    ::kill(static_cast<pid_t>(kiosk.processId()), SIGTERM);
    ASSERT_TRUE(kiosk.waitForFinished(30'000));
    EXPECT_EQ(QProcess::NormalExit, kiosk.exitStatus());
    EXPECT_EQ(0, kiosk.exitCode());

    const QStringList files = QDir(program.filePath(QStringLiteral("log files"))).entryList(QDir::Files);
    ASSERT_EQ(1, files.size());
    const std::vector<QStringList> records =
        readCsvRecords(program.filePath(QStringLiteral("log files/") + files.first()));
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(QStringLiteral("Program Started"), records[0][0]);
    EXPECT_EQ(QStringLiteral("Menu Button 2 Pressed"), records[1][0]);
    EXPECT_EQ(QStringLiteral("Detail: red, \"quoted\" boot.jpg"), records[2][0]);
    EXPECT_EQ(2, records[2].size());
}
