#include "tracking/TrackingLog.h"
#include "TrackingLines.h"
#include "fakes/FakeServices.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#include "tracking/TerminationSignals.h"

#include <QCoreApplication>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Prints one line per record, each field as the hex digits of its bytes, so that any byte of a file name
// comes back unchanged.
const char* const csvScript = R"(
import csv, sys
with open(sys.argv[1], encoding='utf-8', errors='surrogateescape', newline='') as f:
    for row in csv.reader(f, strict=True):
        print(' '.join('x' + field.encode('utf-8', 'surrogateescape').hex() for field in row))
)";

// The records of a log file as Python's csv module reads them: a real CSV reader, so a line that is not a
// valid two-field record shows up as such. Bytes that are not UTF-8 come back as the same lone surrogates
// that decodeFileName gives.
std::vector<QStringList> readCsvRecords(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(csvScript), path});
    python.waitForFinished(30'000);
    std::vector<QStringList> records;
    for (const QByteArray& line : python.readAllStandardOutput().split('\n')) {
        QStringList fields;
        for (const QByteArray& field : line.split(' '))
            fields.append(decodeFileName(QByteArray::fromHex(field.mid(1))));
        if (!line.isEmpty())
            records.push_back(fields);
    }
    return records;
}

} // namespace

TEST(TrackingLog, FifteenthLineOrTerminationWritesTheWaitingLinesInOrder)
{
    TempFolder program;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    logNumbered(log, 1, 14);
    EXPECT_FALSE(folderExists(program.filePath(QStringLiteral("log files"))));
    logNumbered(log, 15, 15);
    EXPECT_EQ(numberedLines(1, 15), program.read(dayFile));

    // The count starts again; "program termination" in any letter case, anywhere, writes at once.
    logNumbered(log, 16, 29);
    log.logEvent(QStringLiteral("Search: a PROGRAM termination?"));
    EXPECT_EQ(numberedLines(1, 29) + "\"Search: a PROGRAM termination?\",\"12/05/2026 14:07:09\"\r\n",
              program.read(dayFile));
    log.logEvent(QStringLiteral("Search: program terminated"));
    EXPECT_EQ(1, log.waitingLines());
}

TEST(TrackingLog, LinesKeepTheirTimeButGoToTheFileOfTheFlushDay)
{
    TempFolder program;
    // A log folder copied from another system may differ in letter case; it is used, not doubled.
    program.write(QStringLiteral("Log Files/01012027.csv"), "\"Old\",\"01/01/2027 00:00:00\"\r\n");
    FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)));
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    log.logEvent(QStringLiteral("Enter Attract Mode"));
    clock.advance(std::chrono::seconds(3));
    log.logEvent(QStringLiteral("Program Termination: Auto Reboot"));

    EXPECT_FALSE(folderExists(program.filePath(QStringLiteral("log files"))));
    EXPECT_EQ(
        QByteArray("\"Old\",\"01/01/2027 00:00:00\"\r\n\"Enter Attract Mode\",\"12/31/2026 23:59:58\"\r\n"
                   "\"Program Termination: Auto Reboot\",\"01/01/2027 00:00:01\"\r\n"),
        program.read(QStringLiteral("Log Files/01012027.csv")));
}

TEST(TrackingLog, MonthlyFlushesOfOneMonthShareOneFile)
{
    TempFolder program;
    FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 1), QTime(9, 0, 0)));
    TrackingLog log(clock, program.path(), TrackingMode::Monthly);
    log.logEvent(QStringLiteral("Program Termination: Auto Reboot"));
    clock.setNow(QDateTime(QDate(2026, 12, 31), QTime(18, 30, 0)));
    logNumbered(log, 1, 15);
    clock.setNow(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 5)));
    log.logEvent(QStringLiteral("Program Termination: Auto Reboot"));

    EXPECT_EQ(16, program.read(QStringLiteral("log files/12012026.csv")).count('\n'));
    EXPECT_EQ(1, program.read(QStringLiteral("log files/01012027.csv")).count('\n'));
}

TEST(TrackingLog, TrackingOffCreatesNothing)
{
    TempFolder program;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::None);
    logNumbered(log, 1, 20);
    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));
    EXPECT_TRUE(log.flush());
    EXPECT_EQ(0, log.waitingLines());
    EXPECT_FALSE(folderExists(program.filePath(QStringLiteral("log files"))));
}

TEST(TrackingLog, EveryLineIsATwoFieldCsvRecordWhateverTheName)
{
    TempFolder program;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    const QStringList texts{
        QStringLiteral("Detail: red, blue.jpg"),
        QStringLiteral("Detail: 12\" \"big\" board.jpg"),
        QStringLiteral("Print: Ägypten Ölkanne.jpg"),
        QStringLiteral("Detail: ") + decodeFileName(QByteArray("caf\xe9 \xff\"x\",.jpg")),
        QStringLiteral("Program Termination: User Right-Click"),
    };
    std::vector<QStringList> expected;
    for (const QString& text : texts) {
        log.logEvent(text);
        expected.push_back({text, QStringLiteral("12/05/2026 14:07:09")});
    }
    EXPECT_EQ(expected, readCsvRecords(program.filePath(dayFile)));
}

TEST(TerminationSignals, SignalWritesTheLogBetweenTwoEvents)
{
    TempFolder program;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    int received = 0;
    TerminationSignals terminationSignals([&](int signalNumber) {
        received = signalNumber;
        log.flush();
    });
    ASSERT_TRUE(terminationSignals.installed());
    logNumbered(log, 1, 3);

    std::raise(SIGTERM);
    EXPECT_EQ(0, received) << "the signal handler itself must do no work";
    // The wake-up is in the pipe when raise() returns; a few rounds of the event loop deliver it.
    for (int round = 0; round < 100 && received == 0; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(SIGTERM, received);
    EXPECT_EQ(numberedLines(1, 3), program.read(dayFile));
}
