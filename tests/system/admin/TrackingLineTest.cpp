#include "tools/admin/TrackingLine.h"
#include "platform/FileSystem.h"
#include "tracking/TrackingLog.h"

#include <gtest/gtest.h>

using quindle::TrackingLog;
using quindle::admin::parseTrackingLine;

TEST(TrackingLine, ReadsWhatTheKioskWrites_textsWithQuotesCommasAndLineEnds)
{
    const QDateTime at(QDate(2026, 12, 5), QTime(14, 7, 9));
    for (const QString& text :
         {QStringLiteral("Exit Attract Mode"), QStringLiteral("Detail: Aurora Ring.jpg"),
          QStringLiteral("Search: 18\" chain, gold"), QStringLiteral("Search: "),
          QStringLiteral("Detail: Bague \u00e9toile.jpg")}) {
        const QByteArray line = quindle::encodeFileName(TrackingLog::formatLine(text, at)) + "\r";
        const auto parsed = parseTrackingLine(line);
        ASSERT_TRUE(parsed.has_value()) << line.toStdString();
        EXPECT_EQ(text, quindle::admin::eventTextToString(parsed->text()));
        EXPECT_EQ(QDate(2026, 12, 5), parsed->date());
        EXPECT_EQ(14 * 3600 + 7 * 60 + 9, parsed->secondOfDay());
    }
}

TEST(TrackingLine, ReadsLinesWrittenBeforeQuotesWereDoubled)
{
    const auto parsed = parseTrackingLine("\"Search: 18\" chain\",\"05/12/2026 09:00:00\"");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(QByteArray("Search: 18\" chain"), parsed->text());
}

TEST(TrackingLine, RefusesLinesThatAreNotTheKiosks)
{
    for (const char* line :
         {"", "hello", "\"Program Started\",\"05/12/2026 09:00\"",
          "\"Program Started\",\"13/12/2026 09:00:00\"", "\"Program Started\",\"02/30/2026 09:00:00\"",
          "\"Program Started\",\"05/12/2026 24:00:00\"", "Program Started,\"05/12/2026 09:00:00\"",
          "\"Program Started\";\"05/12/2026 09:00:00\"", "\"Program Started\",\"05/12/2026 0a:00:00\""})
        EXPECT_FALSE(parseTrackingLine(line).has_value()) << line;
}
