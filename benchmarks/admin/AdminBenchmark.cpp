// Times the owner's program on a busy kiosk: "report" over a year of daily tracking logs,
// and "thumbnails --force" over a catalogue of camera-sized pictures with one thread and
// with two. With --write-day the program only writes one simulated day of logs into
// DIR/"log files" (the day the documentation's report shows).

#include "controls/PictureDecoder.h"
#include "tools/admin/AdminCommands.h"
#include "tracking/TrackingLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextStream>
#include <cstdio>

namespace {

const QStringList products{"Aurora Ring.jpg",    "Calla Band.jpg",    "Noor Halo Ring.jpg",
                           "Elowen Cuff.jpg",    "Harlow Locket.jpg", "Lark Automatic.jpg",
                           "Portia Diver.jpg",   "Rhea Hoops.jpg",    "Juniper Drops.jpg",
                           "Marlow Pendant.jpg", "Briar Drops.jpg",   "Seraphine Dress Watch.jpg"};
const QStringList searches{"ring", "watch", "pearl", "gold", "diver", "locket", "sapphire", "cuff"};

// One visitor's visit: out of attract mode, a few categories, pictures, maybe a search
// and a print, and the slideshow again after the idle time.
void simulateVisit(QStringList& lines, QDateTime& now, QRandomGenerator& random)
{
    const auto log = [&](const QString& text) {
        lines << QString::fromUtf8(quindle::TrackingLog::formatLine(text, now));
        now = now.addSecs(random.bounded(2, 12));
    };
    log(QStringLiteral("Exit Attract Mode"));
    const int steps = random.bounded(3, 14);
    for (int step = 0; step < steps; ++step) {
        const int choice = random.bounded(10);
        if (choice < 3) {
            log(QStringLiteral("Menu Button %1 Pressed").arg(random.bounded(1, 6)));
        } else if (choice < 7) {
            log(QStringLiteral("Detail: ") + products.at(random.bounded(static_cast<int>(products.size()))));
            if (random.bounded(8) == 0)
                log(QStringLiteral("Print: ") + products.at(random.bounded(4)));
            log(QStringLiteral("Close Button Pressed"));
        } else if (choice < 8) {
            log(QStringLiteral("Lookup Button Pressed"));
            log(QStringLiteral("Search: ") + searches.at(random.bounded(static_cast<int>(searches.size()))));
            if (random.bounded(3) > 0)
                log(QStringLiteral("Detail: ") +
                    products.at(random.bounded(static_cast<int>(products.size()))));
        } else {
            log(QStringLiteral("Next Button Pressed"));
        }
    }
    now = now.addSecs(90);
    log(QStringLiteral("Enter Attract Mode"));
}

// A shop day from opening to closing, about `lineCount` lines, busiest around noon and in the
// late afternoon; the scheduled restart at 03:00 begins it.
QStringList simulateDay(QDate day, int lineCount, QRandomGenerator& random)
{
    QStringList lines;
    QDateTime now(day, QTime(3, 0, 0));
    lines << QString::fromUtf8(
        quindle::TrackingLog::formatLine(QStringLiteral("Program Termination: Auto Reboot"), now));
    lines << QString::fromUtf8(
        quindle::TrackingLog::formatLine(QStringLiteral("Program Started"), now.addSecs(95)));
    now = QDateTime(day, QTime(9, 0, 0));
    const QDateTime closing(day, QTime(20, 0, 0));
    // A visit writes about 15 lines: the visits are spread over the opening hours.
    const double spacing = 11.0 * 3600 * 15 / lineCount;
    while (now < closing && lines.size() < lineCount) {
        simulateVisit(lines, now, random);
        const int hour = now.time().hour();
        const double busy = (hour >= 11 && hour < 14) || (hour >= 16 && hour < 18) ? 0.6 : 1.3;
        now = now.addSecs(static_cast<qint64>(random.bounded(spacing * busy) + 1));
    }
    if (random.bounded(20) == 0)
        lines << QStringLiteral("garbage written by another program");
    return lines;
}

void writeLogs(const QString& logFolder, QDate first, int days, int lineCount)
{
    QDir().mkpath(logFolder);
    QRandomGenerator random(7);
    for (int d = 0; d < days; ++d) {
        const QDate day = first.addDays(d);
        QFile file(logFolder + QLatin1Char('/') +
                   quindle::TrackingLog::fileNameFor(quindle::TrackingMode::Daily, day));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(simulateDay(day, lineCount, random).join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    }
}

// A kiosk folder whose one category holds large pictures with detail everywhere (so that
// the JPEG files are as heavy to decode as a camera's).
void writeCatalogue(const QString& programFolder, int pictures, double megapixels)
{
    const QString kiosk = programFolder + QStringLiteral("/Kiosk");
    QDir().mkpath(kiosk + QStringLiteral("/Pictures"));
    QFile pointer(programFolder + QStringLiteral("/quindleFolder.ini"));
    if (pointer.open(QIODevice::WriteOnly))
        pointer.write("Kiosk\r\n");
    QFile settings(kiosk + QStringLiteral("/quindle.ini"));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("btn1 = Pictures, 10, 10\r\ngrid = 4, 3, 240, 180, 600, 100, 20, 20\r\n");
    const int width = static_cast<int>(std::sqrt(megapixels * 1e6 * 4 / 3));
    QImage image(width, width * 3 / 4, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x * 255) / image.width(), (y * 255) / image.height(),
                           static_cast<int>(random.bounded(256)));
    }
    const QString first = kiosk + QStringLiteral("/Pictures/Picture 00001.jpg");
    image.save(first, "jpeg", 90);
    for (int i = 2; i <= pictures; ++i)
        QFile::copy(first,
                    kiosk + QStringLiteral("/Pictures/Picture %1.jpg").arg(i, 5, 10, QLatin1Char('0')));
}

double timed(const QStringList& arguments, const QString& programFolder)
{
    QString sink;
    QTextStream out(&sink);
    QTextStream err(stderr);
    QElapsedTimer timer;
    timer.start();
    const int status = quindle::admin::runAdmin(arguments, programFolder, {out, err, false});
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("  %-52s %7.2f s  (exit %d) %s", qPrintable(arguments.mid(1).join(QLatin1Char(' '))), seconds,
                status, qPrintable(sink));
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    quindle::PictureDecoder::limitJpegMemory();
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions(
        {{"folder", "Where the fixture is kept.", "DIR", "/tmp/quindle-admin-benchmark"},
         {"days", "Days of daily logs.", "N", "365"},
         {"lines", "Lines a day.", "N", "3000"},
         {"pictures", "Pictures to make thumbnails of.", "N", "2000"},
         {"megapixels", "Size of each picture.", "N", "12"},
         {"write-day", "Only write one simulated day (yyyy-mm-dd) of logs into DIR/log files."}});
    parser.process(application);
    const QString folder = parser.value("folder");
    if (parser.isSet("write-day")) {
        const QDate day = QDate::fromString(parser.positionalArguments().value(0), Qt::ISODate);
        writeLogs(folder + QStringLiteral("/log files"), day.isValid() ? day : QDate(2026, 5, 12), 1,
                  parser.value("lines").toInt());
        return 0;
    }
    const int days = parser.value("days").toInt();
    const int pictures = parser.value("pictures").toInt();
    const QString logs = folder + QStringLiteral("/log files");
    if (!QDir(logs).exists()) {
        std::printf("Writing %d days of logs ...\n", days);
        writeLogs(logs, QDate(2025, 1, 1), days, parser.value("lines").toInt());
    }
    if (!QDir(folder + QStringLiteral("/Kiosk")).exists()) {
        std::printf("Writing %d pictures ...\n", pictures);
        writeCatalogue(folder, pictures, parser.value("megapixels").toDouble());
    }
    const QString html = folder + QStringLiteral("/report.html");
    std::printf("Report over %d days:\n", days);
    timed({"admin", "report", "--output", html, "--csv", folder + QStringLiteral("/report.csv")}, folder);
    std::printf("Thumbnails of %d pictures:\n", pictures);
    const double one = timed({"admin", "thumbnails", "--force", "--jobs", "1"}, folder);
    const double two = timed({"admin", "thumbnails", "--force", "--jobs", "2"}, folder);
    std::printf("Speed-up with two threads: %.2f\n", one / two);
    return 0;
}
