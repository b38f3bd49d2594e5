#include "support/KioskFolder.h"
#include "system/admin/AdminRun.h"
#include "tracking/TrackingLog.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using quindle::TrackingLog;
using quindle::test::KioskFolder;

namespace {

// A day's log as the kiosk writes it into its folder, from "hh:mm:ss event" entries separated by
// "; "; an entry without a time is written as it is, as another program's line would be.
void writeLog(const KioskFolder& kiosk, QDate day, const QString& entries,
              const QString& folder = "log files")
{
    QByteArray text;
    for (const QString& entry : entries.split(QStringLiteral("; "))) {
        const QTime time = QTime::fromString(entry.left(8), QStringLiteral("HH:mm:ss"));
        text +=
            (time.isValid() ? TrackingLog::formatLine(entry.mid(9), QDateTime(day, time)) : entry.toUtf8()) +
            "\r\n";
    }
    kiosk.temp().write(folder + "/" + TrackingLog::fileNameFor(quindle::TrackingMode::Daily, day), text);
}

// Two days with known counts: pictures, a print, menus, searches, restarts, and three visits
// (10:00:00 to 10:05:00, 14:30:00 to 14:31:00, and 11:00:00 to 11:00:40, cut by a power failure).
// The first menu button's caption is "Fine_Rings", the second has none.
void writeKnownDays(const KioskFolder& kiosk)
{
    kiosk.writeSettings(KioskFolder::standardSettings());
    writeLog(
        kiosk, QDate(2026, 5, 12),
        "08:59:00 Program Started; 09:00:00 Enter Attract Mode; 10:00:00 Exit Attract Mode; "
        "10:00:05 Menu Button 1 Pressed; 10:00:10 Detail: Aurora Ring.jpg; 10:00:20 Print: Aurora Ring.jpg; "
        "10:00:30 Close Button Pressed; 10:01:00 Lookup Button Pressed; 10:01:10 Search: gold; "
        "10:01:20 Detail: Gold, \"Twist\" Band.jpg; 10:02:00 Lookup Button Pressed; "
        "10:02:10 Search: unicorn; 10:02:20 Lookup Canceled; 10:05:00 Enter Attract Mode; "
        "10:05:08 Enter Attract Mode; a line of another program; 14:30:00 Exit Attract Mode; "
        "14:30:10 Menu Button 2 Pressed; 14:30:20 Detail: Aurora Ring.jpg; 14:30:25 Search: UNICORN; "
        "14:31:00 Enter Attract Mode; 14:40:00 Unknown text");
    writeLog(
        kiosk, QDate(2026, 5, 13),
        "03:00:00 Program Termination: Auto Reboot; 03:01:30 Program Started; 11:00:00 Exit Attract Mode; "
        "11:00:20 Menu Button 1 Pressed; 11:00:40 Search: gold; 12:15:00 Program Started");
}

// Runs the report and returns the lines of its CSV summary.
QStringList reportCsv(const KioskFolder& kiosk)
{
    QString out;
    EXPECT_EQ(0, quindle::test::runAdmin({"report", "--program-folder", kiosk.programFolder(), "--output",
                                          kiosk.temp().filePath("report.html"), "--csv",
                                          kiosk.temp().filePath("report.csv")},
                                         out));
    return QString::fromUtf8(kiosk.temp().read("report.csv")).split(QStringLiteral("\r\n"));
}

} // namespace

TEST(ActivityReport, KnownLogs_countsInTheCsvSummary)
{
    KioskFolder kiosk;
    writeKnownDays(kiosk);
    const QStringList csv = reportCsv(kiosk);
    // Rows separated by "|". "gold" led to a picture once of twice; "unicorn" (in either case) never.
    const QString rows = QStringLiteral(
        R"("Summary","Log files read",2,""|"Summary","Kiosk lines",26,""|)"
        R"("Summary","Skipped lines",2,""|"Summary","Visitor touches",18,""|"Hour","9",0,""|)"
        R"("Hour","10",11,""|"Hour","14",4,""|"Day","2026-05-13",3,""|"Visits","Count",3,""|)"
        R"("Visits","Total seconds",400,""|"Visits","Longest seconds",300,""|)"
        R"("Visits","Median seconds",60,""|"Opened","Aurora Ring.jpg",2,""|)"
        R"("Opened","Gold, ""Twist"" Band.jpg",1,""|"Printed","Aurora Ring.jpg",1,""|)"
        R"("Category","1: Fine Rings",2,""|"Category","2: Watches",1,""|"Search","gold",2,"1"|)"
        R"("Search","unicorn",2,"0"|"Restarts by hour","3",1,""|)"
        R"("Restart","2026-05-13T03:01:30",1,"scheduled restart"|)"
        R"x("Restart","2026-05-13T12:15:00",1,"unexpected (no termination logged)")x");
    for (const QString& row : rows.split(QLatin1Char('|')))
        EXPECT_TRUE(csv.contains(row)) << row.toStdString();
}

// A spreadsheet runs a cell that begins like a formula, quoted or not; an apostrophe makes it text.
// Only the first character counts.
TEST(ActivityReport, NamesAndSearchesThatLookLikeFormulas_areTextInTheCsv)
{
    KioskFolder kiosk;
    writeLog(kiosk, QDate(2026, 5, 12),
             "10:00:00 Detail: =HYPERLINK(\"http://example.com\",\"Ring\").jpg; "
             "10:00:00 Detail: Ring=Gold+Pearl.jpg; 10:00:00 Search: -5");
    const QStringList csv = reportCsv(kiosk);
    for (const char* row : {R"("Opened","'=HYPERLINK(""http://example.com"",""Ring"").jpg",1,"")",
                            R"("Opened","Ring=Gold+Pearl.jpg",1,"")", R"("Search","'-5",1,"0")"})
        EXPECT_TRUE(csv.contains(QString::fromUtf8(row))) << row;
}

// The page must show its charts in a real browser without any script or network: pixels of the
// charts' bar colour (the hour chart, the day chart, the products list). The screenshot is kept
// in the build folder for a person to look at.
TEST(ActivityReport, PageInHeadlessChromium_showsTheCharts)
{
    if (!QFile::exists("/usr/bin/chromium"))
        GTEST_SKIP() << "chromium is not installed (/usr/bin/chromium; scripts/deps/admin.txt lists it)";
    KioskFolder kiosk;
    writeKnownDays(kiosk);
    reportCsv(kiosk);
    const QString screenshot = QStringLiteral(QUINDLE_BINARY_DIR "/admin-report-screenshot.png");
    QFile::remove(screenshot);
    QProcess browser;
    browser.start("/usr/bin/chromium",
                  {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                   "--user-data-dir=" + kiosk.temp().filePath("profile"), "--screenshot=" + screenshot,
                   "--window-size=1280,2000", "file://" + kiosk.temp().filePath("report.html")});
    ASSERT_TRUE(browser.waitForFinished(60'000)) << "chromium did not finish";
    const QImage image = QImage(screenshot).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(QSize(1280, 2000), image.size()) << qPrintable(browser.readAllStandardError());
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    const auto barPixels = std::count_if(pixels, pixels + image.width() * image.height(),
                                         [](QRgb pixel) { return (pixel & 0xF0F0F0) == 0x206090; });
    EXPECT_GT(barPixels, 20'000);
}

// One folder of logs per kiosk: each kiosk on its own row, and the products of all of them
// counted together. Kiosk "b" has logged nothing for two days.
TEST(ActivityReport, FleetShowsEachKioskAndTheirSum)
{
    KioskFolder fleet;
    const QDate today = QDate::currentDate();
    writeLog(fleet, today,
             "10:00:00 Exit Attract Mode; 10:00:00 Detail: Ring.jpg; 10:00:00 Print: Ring.jpg; "
             "10:00:00 Search: gold",
             "fleet/a");
    writeLog(fleet, today.addDays(-2),
             "10:00:00 Exit Attract Mode; 10:00:00 Detail: Ring.jpg; 10:00:00 Detail: Watch.jpg", "fleet/b");

    QString out;
    EXPECT_EQ(0, quindle::test::runAdmin({"report", "--fleet", fleet.temp().filePath("fleet"), "--output",
                                          fleet.temp().filePath("f.html")},
                                         out));
    EXPECT_EQ("Wrote " + fleet.temp().filePath("f.html") +
                  ": 2 kiosks.\na: 4 touches, 1 visits, 1 prints, 1 log files\n"
                  "b: 3 touches, 1 visits, 0 prints, 1 log files\n",
              out);
    const QString html = QString::fromUtf8(fleet.temp().read("f.html"));
    EXPECT_TRUE(
        html.contains("<td>a</td><td class=\"n\">4</td><td class=\"n\">1</td><td class=\"n\">1</td><td "
                      "class=\"n\">1</td>"));
    EXPECT_EQ(1, html.count("silent for over a day"));
    EXPECT_TRUE(html.contains(QRegularExpression(">Ring\\.jpg</text><rect[^>]*/><text[^>]*>2</text>")))
        << "opened once in each kiosk";
}
