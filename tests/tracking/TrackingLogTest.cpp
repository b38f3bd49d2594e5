#include "tracking/TrackingLog.h"
#include "LogFileReader.h"
#include "fakes/FakeServices.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

QDateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

void logNumbered(TrackingLog& log, int from, int to)
{
    for (int i = from; i <= to; ++i)
        log.logEvent(QStringLiteral("Menu Button %1 Pressed").arg(i));
}

QString dayFile(const TempFolder& program, const QString& name)
{
    return program.filePath(QStringLiteral("log files/") + name);
}

} // namespace

TEST(TrackingLine, FormatsEventDateAndTime)
{
    EXPECT_EQ(QStringLiteral("\"Exit Attract Mode\",\"12/05/2026 14:07:09\""),
              TrackingLog::formatLine(QStringLiteral("Exit Attract Mode"), at(2026, 12, 5, 14, 7, 9)));
    EXPECT_EQ(QStringLiteral("\"Search: \",\"01/02/2027 00:00:00\""),
              TrackingLog::formatLine(QStringLiteral("Search: "), at(2027, 1, 2, 0, 0, 0)));
}

TEST(TrackingLine, DoublesQuotesAndKeepsCommas)
{
    EXPECT_EQ(QStringLiteral("\"Detail: a, \"\"b\"\".jpg\",\"12/05/2026 14:07:09\""),
              TrackingLog::formatLine(QStringLiteral("Detail: a, \"b\".jpg"), at(2026, 12, 5, 14, 7, 9)));
}

TEST(TrackingFileName, DailyAndMonthlyNamesKeepLeadingZeros)
{
    EXPECT_EQ(QStringLiteral("12052026.csv"),
              TrackingLog::fileNameFor(TrackingMode::Daily, QDate(2026, 12, 5)));
    EXPECT_EQ(QStringLiteral("01032027.csv"),
              TrackingLog::fileNameFor(TrackingMode::Daily, QDate(2027, 1, 3)));
    EXPECT_EQ(QStringLiteral("12012026.csv"),
              TrackingLog::fileNameFor(TrackingMode::Monthly, QDate(2026, 12, 5)));
    EXPECT_EQ(QStringLiteral("02012028.csv"),
              TrackingLog::fileNameFor(TrackingMode::Monthly, QDate(2028, 2, 29)));
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

TEST(TrackingLog, FifteenthLineWritesAllFifteenInOrder)
{
    TempFolder program;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    const QString file = dayFile(program, QStringLiteral("12052026.csv"));

    logNumbered(log, 1, 14);
    EXPECT_FALSE(folderExists(program.filePath(QStringLiteral("log files"))));
    EXPECT_EQ(14, log.waitingLines());

    log.logEvent(QStringLiteral("Menu Button 15 Pressed"));
    const QStringList lines = readRawLines(file);
    ASSERT_EQ(15, lines.size());
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(QStringLiteral("\"Menu Button %1 Pressed\",\"12/05/2026 14:07:09\"").arg(i + 1), lines[i]);
    EXPECT_EQ(0, log.waitingLines());

    // The buffer starts again: the next 14 lines wait, the 15th goes out.
    logNumbered(log, 16, 29);
    EXPECT_EQ(15, readRawLines(file).size());
    logNumbered(log, 30, 30);
    EXPECT_EQ(30, readRawLines(file).size());
}

TEST(TrackingLog, TerminationLineWritesWaitingLinesAtOnce)
{
    TempFolder program;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    logNumbered(log, 1, 3);
    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));

    const QStringList lines = readRawLines(dayFile(program, QStringLiteral("12052026.csv")));
    ASSERT_EQ(4, lines.size());
    EXPECT_EQ(QStringLiteral("\"Menu Button 1 Pressed\",\"12/05/2026 14:07:09\""), lines[0]);
    EXPECT_EQ(QStringLiteral("\"Program Termination: User Right-Click\",\"12/05/2026 14:07:09\""), lines[3]);
}

TEST(TrackingLog, TerminationInSmallLettersAnywhereAlsoFlushes)
{
    TempFolder program;
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    log.logEvent(QStringLiteral("Search: before program termination after"));
    EXPECT_EQ(1, readRawLines(dayFile(program, QStringLiteral("12052026.csv"))).size());

    log.logEvent(QStringLiteral("Search: program terminated"));
    EXPECT_EQ(1, log.waitingLines());
}

TEST(TrackingLog, LinesKeepTheirTimeButGoToTheFileOfTheFlushDay)
{
    TempFolder program;
    FakeClock clock;
    clock.setNow(at(2026, 12, 5, 23, 59, 58));
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    log.logEvent(QStringLiteral("Enter Attract Mode"));
    clock.advance(std::chrono::seconds(3));
    log.logEvent(QStringLiteral("Program Termination: Auto Reboot"));

    EXPECT_FALSE(fileExists(dayFile(program, QStringLiteral("12052026.csv"))));
    const QStringList lines = readRawLines(dayFile(program, QStringLiteral("12062026.csv")));
    ASSERT_EQ(2, lines.size());
    EXPECT_EQ(QStringLiteral("\"Enter Attract Mode\",\"12/05/2026 23:59:58\""), lines[0]);
    EXPECT_EQ(QStringLiteral("\"Program Termination: Auto Reboot\",\"12/06/2026 00:00:01\""), lines[1]);
}

TEST(TrackingLog, MonthlyFlushesOfOneMonthShareOneFile)
{
    TempFolder program;
    FakeClock clock;
    clock.setNow(at(2026, 12, 1, 9, 0, 0));
    TrackingLog log(clock, program.path(), TrackingMode::Monthly);
    log.logEvent(QStringLiteral("Program Termination: Auto Reboot"));
    clock.setNow(at(2026, 12, 31, 18, 30, 0));
    logNumbered(log, 1, 15);
    clock.setNow(at(2027, 1, 1, 0, 0, 5));
    log.logEvent(QStringLiteral("Program Termination: Auto Reboot"));

    EXPECT_EQ(16, readRawLines(dayFile(program, QStringLiteral("12012026.csv"))).size());
    EXPECT_EQ(1, readRawLines(dayFile(program, QStringLiteral("01012027.csv"))).size());
}

TEST(TrackingLog, AppendsToAnExistingFileAndItsFolder)
{
    TempFolder program;
    const QString file =
        program.write(QStringLiteral("Log Files/12052026.csv"), "\"Old\",\"12/05/2026 08:00:00\"\r\n");
    FakeClock clock;
    TrackingLog log(clock, program.path(), TrackingMode::Daily);
    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));

    // A log folder copied from another system may differ in case; it is used, not doubled.
    EXPECT_FALSE(folderExists(program.filePath(QStringLiteral("log files"))));
    const QStringList lines = readRawLines(file);
    ASSERT_EQ(2, lines.size());
    EXPECT_EQ(QStringLiteral("\"Old\",\"12/05/2026 08:00:00\""), lines[0]);
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
        QStringLiteral("Search: "),
    };
    for (const QString& text : texts)
        log.logEvent(text);
    log.logEvent(QStringLiteral("Program Termination: User Right-Click"));

    const std::vector<QStringList> records = readCsvRecords(dayFile(program, QStringLiteral("12052026.csv")));
    ASSERT_EQ(6u, records.size());
    for (int i = 0; i < texts.size(); ++i) {
        const QStringList& record = records[static_cast<size_t>(i)];
        ASSERT_EQ(2, record.size()) << i;
        EXPECT_EQ(texts[i], record[0]);
        EXPECT_EQ(QStringLiteral("12/05/2026 14:07:09"), record[1]);
    }
}
