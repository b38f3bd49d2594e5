#include "support/KioskFolder.h"
#include "tools/admin/AdminCommands.h"
#include "tracking/TrackingLog.h"

#include <QMap>
#include <gtest/gtest.h>

using quindle::TrackingLog;
using quindle::TrackingMode;
using quindle::test::KioskFolder;

namespace {

// A day's log written line by line as the kiosk writes it.
class LogWriter
{
public:
    LogWriter(const KioskFolder& kiosk, QDate day, TrackingMode mode = TrackingMode::Daily)
        : m_kiosk(kiosk), m_day(day), m_mode(mode)
    {
    }
    ~LogWriter()
    {
        m_kiosk.temp().write(QStringLiteral("log files/") + TrackingLog::fileNameFor(m_mode, m_day), m_bytes);
    }
    void add(const char* time, const QString& text)
    {
        const QDateTime at(m_day, QTime::fromString(QString::fromLatin1(time), QStringLiteral("HH:mm:ss")));
        m_bytes += TrackingLog::formatLine(text, at).toUtf8() + "\r\n";
    }
    void addRaw(const QByteArray& line) { m_bytes += line + "\r\n"; }
    void setDay(QDate day) { m_day = day; } // a monthly file holds several days

private:
    const KioskFolder& m_kiosk;
    QDate m_day;
    TrackingMode m_mode;
    QByteArray m_bytes;
};

// Rows of the CSV summary by section and item: count and detail.
using Rows = QMap<QPair<QString, QString>, QPair<qint64, QString>>;

Rows reportRows(const KioskFolder& kiosk, QStringList options = {})
{
    const QString csv = kiosk.temp().filePath(QStringLiteral("report.csv"));
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = quindle::admin::runAdmin(
        QStringList{"quindle-admin", "report", "--program-folder", kiosk.programFolder(), "--output",
                    kiosk.temp().filePath(QStringLiteral("report.html")), "--csv", csv} +
            options,
        {}, {outStream, errStream, false});
    errStream.flush();
    EXPECT_EQ(0, status) << err.toStdString();
    Rows rows;
    const QStringList lines =
        QString::fromUtf8(kiosk.temp().read(QStringLiteral("report.csv"))).split(QStringLiteral("\r\n"));
    for (const QString& line : lines.mid(1)) {
        if (line.isEmpty())
            continue;
        // Fields: "section","item",count,"detail"; the item may hold commas and doubled quotes.
        const qsizetype countStart =
            line.lastIndexOf(QStringLiteral("\","), line.lastIndexOf(QStringLiteral(",\""))) + 2;
        const qsizetype countEnd = line.lastIndexOf(QStringLiteral(",\""));
        const QString section = line.section(QLatin1Char('"'), 1, 1);
        QString item = line.mid(section.size() + 4, countStart - section.size() - 6);
        item.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        const QString detail = line.mid(countEnd + 2).chopped(1);
        rows[{section, item}] = {line.mid(countStart, countEnd - countStart).toLongLong(), detail};
    }
    return rows;
}

qint64 countOf(const Rows& rows, const char* section, const QString& item)
{
    return rows.value({QString::fromLatin1(section), item}, {-1, {}}).first;
}

// Two days of a kiosk with known counts: visits, pictures, prints, menus, searches, restarts.
void writeKnownDays(const KioskFolder& kiosk)
{
    {
        LogWriter log(kiosk, QDate(2026, 5, 12));
        log.add("08:59:00", "Program Started");
        log.add("09:00:00", "Enter Attract Mode");
        log.add("10:00:00", "Exit Attract Mode"); // visit 1: 10:00:00 .. 10:05:00
        log.add("10:00:05", "Menu Button 1 Pressed");
        log.add("10:00:10", "Detail: Aurora Ring.jpg");
        log.add("10:00:20", "Print: Aurora Ring.jpg");
        log.add("10:00:30", "Close Button Pressed");
        log.add("10:01:00", "Lookup Button Pressed");
        log.add("10:01:10", "Search: gold");
        log.add("10:01:20", "Detail: Gold, \"Twist\" Band.jpg");
        log.add("10:02:00", "Lookup Button Pressed");
        log.add("10:02:10", "Search: unicorn");
        log.add("10:02:20", "Lookup Canceled");
        log.add("10:05:00", "Enter Attract Mode");
        log.add("10:05:08", "Enter Attract Mode");
        log.addRaw("a line of another program");
        log.add("14:30:00", "Exit Attract Mode"); // visit 2: 14:30:00 .. 14:31:00
        log.add("14:30:10", "Menu Button 2 Pressed");
        log.add("14:30:20", "Detail: Aurora Ring.jpg");
        log.add("14:30:25", "Search: UNICORN");
        log.add("14:31:00", "Enter Attract Mode");
        log.add("14:40:00", "Unknown text");
    }
    {
        LogWriter log(kiosk, QDate(2026, 5, 13));
        log.add("03:00:00", "Program Termination: Auto Reboot");
        log.add("03:01:30", "Program Started");
        log.add("11:00:00", "Exit Attract Mode"); // visit 3: until the power cut, 11:00:00 .. 11:00:40
        log.add("11:00:20", "Menu Button 1 Pressed");
        log.add("11:00:40", "Search: gold");
        log.add("12:15:00", "Program Started");
    }
}

} // namespace

TEST(ActivityReport, KnownLogs_countsInTheCsvSummary)
{
    KioskFolder kiosk;
    kiosk.writeSettings(KioskFolder::standardSettings()); // btn1 caption "Fine_Rings", btn2 without one
    writeKnownDays(kiosk);
    const Rows rows = reportRows(kiosk);

    EXPECT_EQ(2, countOf(rows, "Summary", "Log files read"));
    EXPECT_EQ(26, countOf(rows, "Summary", "Kiosk lines"));
    EXPECT_EQ(2, countOf(rows, "Summary", "Skipped lines"));
    EXPECT_EQ(18, countOf(rows, "Summary", "Visitor touches"));
    EXPECT_EQ(11, countOf(rows, "Hour", "10"));
    EXPECT_EQ(4, countOf(rows, "Hour", "14"));
    EXPECT_EQ(3, countOf(rows, "Hour", "11"));
    EXPECT_EQ(0, countOf(rows, "Hour", "9"));
    EXPECT_EQ(15, countOf(rows, "Day", "2026-05-12"));
    EXPECT_EQ(3, countOf(rows, "Day", "2026-05-13"));

    EXPECT_EQ(3, countOf(rows, "Visits", "Count"));
    EXPECT_EQ(300 + 60 + 40, countOf(rows, "Visits", "Total seconds"));
    EXPECT_EQ(300, countOf(rows, "Visits", "Longest seconds"));
    EXPECT_EQ(60, countOf(rows, "Visits", "Median seconds"));

    EXPECT_EQ(2, countOf(rows, "Opened", "Aurora Ring.jpg"));
    EXPECT_EQ(1, countOf(rows, "Opened", "Gold, \"Twist\" Band.jpg"));
    EXPECT_EQ(1, countOf(rows, "Printed", "Aurora Ring.jpg"));
    EXPECT_EQ(2, countOf(rows, "Category", "1: Fine Rings"));
    EXPECT_EQ(1, countOf(rows, "Category", "2: Watches"));

    // "gold" led to a picture once of twice; "unicorn" (in either case) never.
    EXPECT_EQ(2, countOf(rows, "Search", "gold"));
    EXPECT_EQ(QStringLiteral("1"), rows.value({"Search", "gold"}).second);
    EXPECT_EQ(2, countOf(rows, "Search", "unicorn"));
    EXPECT_EQ(QStringLiteral("0"), rows.value({"Search", "unicorn"}).second);

    EXPECT_EQ(1, countOf(rows, "Restarts by hour", "8"));
    EXPECT_EQ(1, countOf(rows, "Restarts by hour", "3"));
    EXPECT_EQ(1, countOf(rows, "Restarts by hour", "12"));
    EXPECT_EQ(QStringLiteral("scheduled restart"), rows.value({"Restart", "2026-05-13T03:01:30"}).second);
    EXPECT_EQ(QStringLiteral("unexpected (no termination logged)"),
              rows.value({"Restart", "2026-05-13T12:15:00"}).second);
}

TEST(ActivityReport, RangeAndMonthlyFiles_onlyTheDaysAsked)
{
    KioskFolder kiosk;
    writeKnownDays(kiosk);
    {
        LogWriter log(kiosk, QDate(2026, 4, 1), TrackingMode::Monthly);
        log.add("10:00:00", "Detail: April.jpg");
        log.setDay(QDate(2026, 4, 20));
        log.add("10:00:00", "Detail: April.jpg");
    }
    Rows rows = reportRows(kiosk, {"--from", "2026-04-10", "--to", "2026-05-12"});
    // The monthly file, the 12th's, and the 13th's for lines logged before midnight and written after it.
    EXPECT_EQ(3, countOf(rows, "Summary", "Log files read"));
    EXPECT_EQ(1, countOf(rows, "Opened", "April.jpg"));
    EXPECT_EQ(-1, countOf(rows, "Day", "2026-05-13"));
    EXPECT_EQ(15, countOf(rows, "Day", "2026-05-12"));

    rows = reportRows(kiosk, {"--from", "2026-05-13"});
    EXPECT_EQ(-1, countOf(rows, "Opened", "April.jpg"));
    EXPECT_EQ(3, countOf(rows, "Summary", "Visitor touches"));
}

TEST(ActivityReport, BadDate_isAUsageFault)
{
    KioskFolder kiosk;
    writeKnownDays(kiosk);
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(2, quindle::admin::runAdmin({"quindle-admin", "report", "--program-folder",
                                           kiosk.programFolder(), "--from", "12/05/2026"},
                                          {}, {outStream, errStream, false}));
}
