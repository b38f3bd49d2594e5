#include "printing/PrivateCups.h"
#include "system/support/KioskSession.h"
#include "system/support/NodeExporter.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

using namespace quindle::systemtest;
using quindle::test::PrivateCups;

namespace {

const QString queue = QStringLiteral("capture");
const QString noHitText = QStringLiteral("X9X");

std::int64_t secondsNow()
{
    return QDateTime::currentSecsSinceEpoch();
}

// The kiosk writes its figures into a folder of the test's own, as a shop machine's kiosk writes
// them into node_exporter's textfile folder.
class MetricsJourney : public KioskSession
{
protected:
    void SetUp() override
    {
        KioskSession::SetUp();
        if (HasFatalFailure())
            return;
        textfiles = folder.makeFolder(QStringLiteral("textfiles"));
        metricsFile = textfiles + QStringLiteral("/quindle.prom");
        kioskArguments = QStringList{QStringLiteral("--metrics-file"), metricsFile};
    }

    // A touch that the kiosk's figures must count.
    void touch(const QRect& control)
    {
        tap(control);
        ++touches;
    }
    void touch(QPoint at)
    {
        tap(at);
        ++touches;
    }

    QString textfiles;
    QString metricsFile;
    int touches = 0;
};

struct Figure
{
    QString series;
    double expected;
};

} // namespace

TEST_F(MetricsJourney, TouchesSearchAndPrints_reachPrometheusThroughNodeExporter)
{
    NodeExporter exporter(textfiles);
    if (exporter.isMissing())
        GTEST_SKIP() << exporter.problem().toStdString();
    ASSERT_TRUE(exporter.isRunning()) << exporter.problem().toStdString();
    const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
    if (promtool.isEmpty())
        GTEST_SKIP() << "promtool is not installed (Debian package prometheus)";
    PrivateCups cups;
    if (cups.isMissingPrograms())
        GTEST_SKIP() << cups.problem().toStdString();
    ASSERT_TRUE(cups.isRunning()) << cups.problem().toStdString();
    ASSERT_TRUE(cups.addCaptureQueue(queue) && cups.makeDefault(queue)) << cups.problem().toStdString();

    const std::int64_t started = secondsNow();
    startKiosk();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(metricsFile); })) << "written once the kiosk is up";
    const QMap<QString, double> atStart = NodeExporter::samples(exporter.scrape());
    EXPECT_EQ(0.0, atStart.value(QStringLiteral("quindle_touches_total"), -1));
    EXPECT_LE(started - 1, atStart.value(QStringLiteral("quindle_start_time_seconds")));
    EXPECT_GE(secondsNow() + 1, atStart.value(QStringLiteral("quindle_start_time_seconds")));
    const QString info = QStringLiteral("quindle_info{kiosk_folder=\"%1\",version=\"%2\"}")
                             .arg(kiosk->kioskFolder(), QStringLiteral(QUINDLE_VERSION));
    EXPECT_EQ(1.0, atStart.value(info)) << describe(atStart.keys());
    qsizetype pictures = 0;
    for (int category = 0; category < kiosk->categoryFolders().size(); ++category)
        pictures += kiosk->pictures(category).size();
    EXPECT_EQ(static_cast<double>(kiosk->categoryFolders().size()),
              atStart.value(QStringLiteral("quindle_categories")));
    EXPECT_EQ(static_cast<double>(pictures), atStart.value(QStringLiteral("quindle_pictures")));

    // Two pages turned, two pictures seen in the detail view, the second by a step.
    const QStringList rings = kiosk->pictures(0);
    const int page = kiosk->slotsPerPage();
    ASSERT_GT(rings.size(), page) << "the category must fill more than one page";
    touch(kiosk->nextButton());
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(rings, page); }));
    touch(kiosk->previousButton());
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(rings, 0); }));
    touch(kiosk->slot(1));
    ASSERT_TRUE(waitFor([&] { return screen->showsDetail(rings.at(0)); }));
    touch(kiosk->nextButton());
    ASSERT_TRUE(waitFor([&] { return screen->showsDetail(rings.at(1)); }));
    touch(kiosk->closeButton());
    ASSERT_TRUE(waitFor([&] { return screen->detailClosed(); }));

    // A search without results.
    touch(kiosk->lookupButton());
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));
    for (const QChar key : noHitText) {
        touch(kiosk->keyCentre(key));
        ASSERT_TRUE(process->settle());
    }
    touch(kiosk->keyboardButton(3));
    ASSERT_TRUE(waitFor([&] { return screen->noResultsShown(); }));
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));
    touch(kiosk->keyboardButton(0));
    ASSERT_TRUE(waitFor([&] { return !screen->keyboardShown(); }));

    // One print sent, then one refused by a queue that takes no more jobs.
    int withFile = 0;
    while (withFile < page && !QFile::exists(rings.at(withFile).chopped(4) + QStringLiteral(".prn")))
        ++withFile;
    ASSERT_LT(withFile, page) << "a picture of the first page has a print file";
    touch(kiosk->slot(withFile + 1));
    ASSERT_TRUE(
        waitFor([&] { return screen->showsDetail(rings.at(withFile)) && screen->printButtonEnabled(); }));
    touch(kiosk->printButton());
    ASSERT_TRUE(waitFor([&] { return cups.capturedJobs().size() == 1; }, 60'000));
    ASSERT_TRUE(cups.waitUntilIdle()) << cups.problem().toStdString();
    ASSERT_TRUE(cups.rejectJobs(queue)) << cups.problem().toStdString();
    ASSERT_TRUE(waitFor([&] { return screen->printButtonEnabled(); }));
    touch(kiosk->printButton());
    ASSERT_TRUE(waitFor(
        [&] { return process->standardError().contains(QStringLiteral("The printer cannot be accessed")); }));

    // The last figures are written as the kiosk ends.
    ASSERT_EQ(0, endKiosk());
    const QByteArray scraped = exporter.scrape();
    const QMap<QString, double> atEnd = NodeExporter::samples(scraped);
    const Figure figures[] = {
        {QStringLiteral("node_textfile_scrape_error"), 0},
        {QStringLiteral("quindle_touches_total"), static_cast<double>(touches)},
        {QStringLiteral("quindle_visits_total"), 0},
        {QStringLiteral("quindle_pages_turned_total"), 2},
        {QStringLiteral("quindle_detail_views_total"), 3},
        {QStringLiteral("quindle_searches_total"), 1},
        {QStringLiteral("quindle_searches_without_results_total"), 1},
        {QStringLiteral("quindle_prints_sent_total"), 1},
        {QStringLiteral("quindle_prints_refused_total{reason=\"printer_unavailable\"}"), 1},
        {QStringLiteral("quindle_prints_refused_total{reason=\"no_printer\"}"), 0},
        {QStringLiteral("quindle_messages_total{kind=\"printer_unavailable\"}"), 1},
        {QStringLiteral("quindle_messages_total{kind=\"other\"}"), 0},
        {QStringLiteral("quindle_undecodable_pictures_total"), 0},
        {QStringLiteral("quindle_watchdog_failures_total"), 0},
        {QStringLiteral("quindle_restarts_requested_total"), 0},
        {QStringLiteral("quindle_tracking_write_failures_total"), 0},
        {info, 1},
    };
    for (const Figure& figure : figures)
        EXPECT_EQ(figure.expected, atEnd.value(figure.series, -1)) << figure.series.toStdString();
    const double lastTouch = atEnd.value(QStringLiteral("quindle_last_touch_time_seconds"));
    EXPECT_LE(atStart.value(QStringLiteral("quindle_start_time_seconds")), lastTouch);
    EXPECT_GE(secondsNow() + 1, lastTouch);
    EXPECT_FALSE(scraped.contains(noHitText.toUtf8())) << "typed text never reaches a metric";

    QProcess check;
    check.setStandardInputFile(metricsFile);
    check.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
    ASSERT_TRUE(check.waitForFinished(30'000));
    EXPECT_EQ(0, check.exitCode()) << check.readAll().toStdString()
                                   << check.readAllStandardError().toStdString();
}

TEST_F(MetricsJourney, ReadOnlyMetricsFolder_kioskGoesOnWithOneMessage)
{
    ASSERT_EQ(0, ::chmod(QFile::encodeName(textfiles).constData(), 0555));
    // Root writes into any folder unless it gives up that power, as a kiosk user never has it.
    if (::geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        ASSERT_FALSE(setpriv.isEmpty())
            << "setpriv (Debian package util-linux) drops root's power over modes";
        kioskLauncher = QStringList{setpriv, QStringLiteral("--inh-caps=-dac_override"),
                                    QStringLiteral("--bounding-set=-dac_override"), QStringLiteral("--")};
    }
    startKiosk();
    ASSERT_TRUE(
        waitFor([&] { return process->standardError().contains(QStringLiteral("The metrics file")); }));

    tap(kiosk->menuButton(2));
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(kiosk->pictures(1), 0); })) << "the kiosk goes on";
    ASSERT_EQ(0, endKiosk()) << "its last write fails as well";

    const QString errors = process->standardError();
    EXPECT_EQ(1, errors.count(QStringLiteral("Quindle: "))) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("The metrics file \"%1\" cannot be written").arg(metricsFile)))
        << errors.toStdString();
    EXPECT_FALSE(QFile::exists(metricsFile));
    ::chmod(QFile::encodeName(textfiles).constData(), 0755);
}
