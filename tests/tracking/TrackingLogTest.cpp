#include "tracking/TrackingLog.h"
#include "fakes/FakeServices.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#include "tracking/TerminationSignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// The daily file of the fake clock's first day, and the lines as it holds them, stamped with that time.
const QString dayFile = QStringLiteral("log files/12052026.csv");
const QByteArray terminationLine = "\"Program Termination: User Right-Click\",\"12/05/2026 14:07:09\"\r\n";

QByteArray numberedLines(int from, int to)
{
    QByteArray lines;
    for (int i = from; i <= to; ++i)
        lines += "\"Menu Button " + QByteArray::number(i) + " Pressed\",\"12/05/2026 14:07:09\"\r\n";
    return lines;
}

void logNumbered(TrackingLog& log, int from, int to)
{
    for (int i = from; i <= to; ++i)
        log.logEvent(QStringLiteral("Menu Button %1 Pressed").arg(i));
}

// A program folder with a daily log on the fake clock.
class DailyLog : public testing::Test
{
protected:
    TempFolder program;
    FakeClock clock;
    TrackingLog log{clock, program.path(), TrackingMode::Daily};
};

} // namespace

// That the fifteenth line writes the batch is followed through the running kiosk in the operator's exit
// journey.
TEST_F(DailyLog, TerminationAnywhereInALineInAnyCaseWritesAtOnce)
{
    log.logEvent(QStringLiteral("Search: a PROGRAM termination?"));
    EXPECT_EQ(QByteArray("\"Search: a PROGRAM termination?\",\"12/05/2026 14:07:09\"\r\n"),
              program.read(dayFile));
    log.logEvent(QStringLiteral("Search: program terminated"));
    EXPECT_EQ(1, log.waitingLines());
}

TEST_F(DailyLog, NamesAreQuotedAndKeptByteForByte)
{
    log.logEvent(QStringLiteral("Detail: red, 12\" \"big\" board.jpg"));
    log.logEvent(QStringLiteral("Print: \u00c4gypten ") + decodeFileName("caf\xe9 \xff.jpg"));
    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
    EXPECT_EQ("\"Detail: red, 12\"\" \"\"big\"\" board.jpg\",\"12/05/2026 14:07:09\"\r\n"
              "\"Print: \xc3\x84gypten caf\xe9 \xff.jpg\",\"12/05/2026 14:07:09\"\r\n" +
                  terminationLine,
              program.read(dayFile));
}

TEST_F(DailyLog, LinesKeepTheirTimeButGoToTheFileOfTheFlushDay)
{
    // A log folder copied from another system may differ in letter case; it is used, not doubled.
    program.write(QStringLiteral("Log Files/01012027.csv"), "\"Old\",\"01/01/2027 00:00:00\"\r\n");
    clock.setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)));
    log.logEvent(QStringLiteral("Enter Attract Mode"));
    clock.advance(std::chrono::seconds(3));
    log.logEvent(QStringLiteral("Program Termination: Auto Reboot"));

    EXPECT_FALSE(folderExists(program.filePath(QStringLiteral("log files"))));
    EXPECT_EQ(
        QByteArray("\"Old\",\"01/01/2027 00:00:00\"\r\n\"Enter Attract Mode\",\"12/31/2026 23:59:58\"\r\n"
                   "\"Program Termination: Auto Reboot\",\"01/01/2027 00:00:01\"\r\n"),
        program.read(QStringLiteral("Log Files/01012027.csv")));
}

// Monthly files, shared by the flushes of a month, are followed over a month's end in the soak test.
TEST_F(DailyLog, NoneWritesNothing)
{
    TrackingLog none(clock, program.makeFolder(QStringLiteral("none")), TrackingMode::None);
    none.logEvent(QStringLiteral("Program Termination: Auto Reboot"));
    EXPECT_TRUE(none.flush());
    EXPECT_EQ(0, none.waitingLines());
    EXPECT_FALSE(folderExists(program.filePath(QStringLiteral("none/log files"))));
}

// That the kiosk writes its waiting lines when the signal arrives is followed in every journey's end.
TEST(TerminationSignals, ArriveBetweenTwoEventsNotInTheHandler)
{
    int received = 0;
    TerminationSignals terminationSignals([&](int signalNumber) { received = signalNumber; });
    ASSERT_TRUE(terminationSignals.installed());

    std::raise(SIGTERM);
    EXPECT_EQ(0, received) << "the signal handler itself must do no work";
    // The wake-up is in the pipe when raise() returns; a few rounds of the event loop deliver it.
    for (int round = 0; round < 100 && received == 0; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(SIGTERM, received);
}

TEST(TrackingLogFailure, BlockedLogKeepsTheNewestLinesForTheNextFlush)
{
    // What can stand in the way: a file in place of the folder, a folder in place of the file, a full disk.
    const std::function<QString(const TempFolder&)> blockers[] = {
        [](const TempFolder& program) { return program.write(QStringLiteral("log files"), "not a folder"); },
        [](const TempFolder& program) { return program.makeFolder(dayFile); },
        [](const TempFolder& program) {
            program.makeFolder(QStringLiteral("log files"));
            QFile::link(QStringLiteral("/dev/full"), program.filePath(dayFile));
            return program.filePath(dayFile);
        },
    };
    for (const auto& block : blockers) {
        TempFolder program;
        const QString blocker = block(program);
        FakeClock clock;
        TrackingLog log(clock, program.path(), TrackingMode::Daily);
        // Only the newest lines are kept meanwhile.
        logNumbered(log, 1, TrackingLog::maximumKeptLines + 19);
        log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
        EXPECT_EQ(TrackingLog::maximumKeptLines, log.waitingLines());

        QFile::remove(blocker);
        QDir(blocker).removeRecursively();
        EXPECT_TRUE(log.flush());
        EXPECT_EQ(numberedLines(21, TrackingLog::maximumKeptLines + 19) + terminationLine,
                  program.read(dayFile));
        EXPECT_EQ(0, log.waitingLines());
    }
}

TEST_F(DailyLog, WriteCutShortIsTrimmedToTheLastCompleteLine)
{
    const QByteArray old = "\"Old\",\"12/05/2026 08:00:00\"\r\n";
    program.write(dayFile, old);
    // The disk fills up in the middle of a write: room for two lines and part of the third.
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(old.size() + numberedLines(1, 2).size() + 10), previous.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    logNumbered(log, 1, 15);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(old + numberedLines(1, 2), program.read(dayFile));
    EXPECT_EQ(13, log.waitingLines());

    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
    EXPECT_EQ(old + numberedLines(1, 15) + terminationLine, program.read(dayFile));
}
