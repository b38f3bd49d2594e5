#include "support/KioskFolder.h"
#include "tools/admin/AdminCommands.h"
#include "tracking/TrackingLog.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using quindle::test::KioskFolder;

namespace {

const QString chromium = QStringLiteral("/usr/bin/chromium");

// Pixels of the charts' bar colour in a screenshot.
int barPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAbs(qRed(pixel) - 0x2f) < 8 && qAbs(qGreen(pixel) - 0x6f) < 8 &&
                qAbs(qBlue(pixel) - 0x9f) < 8)
                ++count;
        }
    }
    return count;
}

} // namespace

// The report must show its charts in a real browser without any script or network. The
// screenshot is kept in the build folder for a person to look at.
TEST(ReportInBrowser, HeadlessChromium_showsTheCharts)
{
    if (!QFile::exists(chromium))
        GTEST_SKIP() << "chromium is not installed (/usr/bin/chromium; scripts/deps/admin.txt lists it)";
    KioskFolder kiosk;
    kiosk.writeSettings(KioskFolder::standardSettings());
    QByteArray lines;
    for (int hour = 9; hour < 19; ++hour) {
        for (int minute = 0; minute < (hour % 4 + 1) * 10; minute += 5) {
            const QDateTime at(QDate(2026, 5, 12), QTime(hour, minute));
            lines +=
                quindle::TrackingLog::formatLine(QStringLiteral("Exit Attract Mode"), at).toUtf8() + "\r\n";
            lines += quindle::TrackingLog::formatLine(QStringLiteral("Detail: Item %1.jpg").arg(minute),
                                                      at.addSecs(20))
                         .toUtf8() +
                     "\r\n";
            lines += quindle::TrackingLog::formatLine(QStringLiteral("Enter Attract Mode"), at.addSecs(200))
                         .toUtf8() +
                     "\r\n";
        }
    }
    kiosk.temp().write(QStringLiteral("log files/05122026.csv"), lines);
    const QString html = kiosk.temp().filePath(QStringLiteral("report.html"));
    QString out;
    QTextStream outStream(&out);
    QTextStream errStream(&out);
    ASSERT_EQ(0, quindle::admin::runAdmin(
                     {"quindle-admin", "report", "--program-folder", kiosk.programFolder(), "--output", html},
                     {}, {outStream, errStream, false}));

    const QString screenshot = QStringLiteral(QUINDLE_BINARY_DIR "/admin-report-screenshot.png");
    QFile::remove(screenshot);
    QTemporaryDir profile;
    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                             "--disable-component-update", "--disable-sync", "--no-first-run",
                             "--user-data-dir=" + profile.path(), "--screenshot=" + screenshot,
                             "--window-size=1280,2000", "file://" + html});
    ASSERT_TRUE(browser.waitForFinished(60'000)) << "chromium did not finish";
    const QImage image(screenshot);
    ASSERT_FALSE(image.isNull()) << qPrintable(browser.readAllStandardError());
    EXPECT_EQ(QSize(1280, 2000), image.size());
    // The hour chart, the day chart and the products list: many thousands of bar pixels.
    EXPECT_GT(barPixels(image), 20'000);
}
