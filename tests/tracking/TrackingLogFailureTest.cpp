#include "LogFileReader.h"
#include "fakes/FakeServices.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#include "tracking/TrackingLog.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace quindle;
using namespace quindle::test;

namespace {

void logNumbered(TrackingLog& log, int from, int to)
{
    for (int i = from; i <= to; ++i)
        log.logEvent(QStringLiteral("Menu Button %1 Pressed").arg(i));
}

QStringList numberedLines(int from, int to)
{
    QStringList lines;
    for (int i = from; i <= to; ++i)
        lines.append(QStringLiteral("\"Menu Button %1 Pressed\",\"12/05/2026 14:07:09\"").arg(i));
    return lines;
}

const QString terminationLine =
    QStringLiteral("\"Program Termination: User Right-Click\",\"12/05/2026 14:07:09\"");

// Lets the files this process writes grow to a given size only, as a disk that fills up
// in the middle of a write does. The previous limit comes back at the end of the scope.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_previous.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace

TEST(TrackingLogFailure, LogFolderThatIsAFileKeepsTheLinesForTheNextFlush)
{
    TempFolder program;
    const QString blocker = program.write(QStringLiteral("log files"), "not a folder");
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    logNumbered(log, 1, 3);
    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
    EXPECT_EQ(4, log.waitingLines());
    EXPECT_EQ(QByteArray("not a folder"), program.read(QStringLiteral("log files")));

    QFile::remove(blocker);
    logNumbered(log, 4, 4);
    EXPECT_TRUE(log.flush());

    QStringList expected = numberedLines(1, 3);
    expected << terminationLine << numberedLines(4, 4);
    EXPECT_EQ(expected, readRawLines(program.filePath(QStringLiteral("log files/12052026.csv"))));
    EXPECT_EQ(0, log.waitingLines());
}

TEST(TrackingLogFailure, FolderInPlaceOfTheFileKeepsTheLines)
{
    TempFolder program;
    const QString blocker = program.makeFolder(QStringLiteral("log files/12052026.csv"));
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    logNumbered(log, 1, 15);
    EXPECT_EQ(15, log.waitingLines());

    QDir(blocker).removeRecursively();
    logNumbered(log, 16, 30);
    EXPECT_EQ(numberedLines(1, 30), readRawLines(program.filePath(QStringLiteral("log files/12052026.csv"))));
}

TEST(TrackingLogFailure, FullDiskKeepsTheLinesAndLeavesNothingBehind)
{
    TempFolder program;
    program.makeFolder(QStringLiteral("log files"));
    const QString file = program.filePath(QStringLiteral("log files/12052026.csv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), file));
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    logNumbered(log, 1, 15);
    EXPECT_EQ(15, log.waitingLines());

    QFile::remove(file);
    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
    QStringList expected = numberedLines(1, 15);
    expected << terminationLine;
    EXPECT_EQ(expected, readRawLines(file));
}

TEST(TrackingLogFailure, WriteCutShortIsTrimmedToTheLastCompleteLine)
{
    TempFolder program;
    const QByteArray old = "\"Old\",\"12/05/2026 08:00:00\"\r\n";
    const QString file = program.write(QStringLiteral("log files/12052026.csv"), old);
    const qsizetype lineSize = numberedLines(1, 1).first().size() + 2;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    {
        // Room for two lines and part of the third.
        FileSizeLimit limit(static_cast<rlim_t>(old.size() + 2 * lineSize + 10));
        logNumbered(log, 1, 15);
    }
    EXPECT_EQ(old + (numberedLines(1, 2).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8(),
              program.read(QStringLiteral("log files/12052026.csv")));
    EXPECT_EQ(13, log.waitingLines());

    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
    const std::vector<QStringList> records = readCsvRecords(file);
    ASSERT_EQ(17u, records.size());
    for (size_t i = 1; i < records.size(); ++i)
        EXPECT_EQ(2, records[i].size());
    EXPECT_EQ(QStringLiteral("Menu Button 1 Pressed"), records[1][0]);
    EXPECT_EQ(QStringLiteral("Menu Button 15 Pressed"), records[15][0]);
    EXPECT_EQ(QStringLiteral("Program Termination: User Right-Click"), records[16][0]);
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
    const QStringList lines = readRawLines(program.filePath(QStringLiteral("log files/12052026.csv")));
    ASSERT_EQ(TrackingLog::maximumKeptLines, lines.size());
    EXPECT_EQ(numberedLines(21, 21).first(), lines.first());
    EXPECT_EQ(numberedLines(TrackingLog::maximumKeptLines + 20, TrackingLog::maximumKeptLines + 20).first(),
              lines.last());
}
