#include "TrackingLines.h"
#include "fakes/FakeServices.h"
#include "support/TempFolder.h"
#include "tracking/TrackingLog.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace quindle;
using namespace quindle::test;

namespace {

const QByteArray terminationLine = "\"Program Termination: User Right-Click\",\"12/05/2026 14:07:09\"\r\n";

} // namespace

TEST(TrackingLogFailure, BlockedLogKeepsTheLinesForTheNextFlush)
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
        logNumbered(log, 1, 15);
        log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
        EXPECT_EQ(16, log.waitingLines());

        QFile::remove(blocker);
        QDir(blocker).removeRecursively();
        EXPECT_TRUE(log.flush());
        EXPECT_EQ(numberedLines(1, 15) + terminationLine, program.read(dayFile));
        EXPECT_EQ(0, log.waitingLines());
    }
}

TEST(TrackingLogFailure, WriteCutShortIsTrimmedToTheLastCompleteLine)
{
    TempFolder program;
    const QByteArray old = "\"Old\",\"12/05/2026 08:00:00\"\r\n";
    program.write(dayFile, old);
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
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

TEST(TrackingLogFailure, KeepsOnlyTheNewestLinesWhileTheLogCannotBeWritten)
{
    TempFolder program;
    const QString blocker = program.write(QStringLiteral("log files"), "not a folder");
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    logNumbered(log, 1, TrackingLog::maximumKeptLines + 20);
    EXPECT_EQ(TrackingLog::maximumKeptLines, log.waitingLines());

    QFile::remove(blocker);
    EXPECT_TRUE(log.flush());
    EXPECT_EQ(numberedLines(21, TrackingLog::maximumKeptLines + 20), program.read(dayFile));
}
