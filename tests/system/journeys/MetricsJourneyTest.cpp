#include "printing/PrivateCups.h"
#include "system/support/KioskSession.h"
#include "system/support/NodeExporter.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

using namespace quindle::systemtest;
using quindle::test::PrivateCups;

namespace {

// The kiosk writes its figures into a folder of the test's own, as a shop machine's kiosk writes
// them into node_exporter's textfile folder.
class MetricsJourney : public KioskSession
{
protected:
    void SetUp() override
    {
        KioskSession::SetUp();
        textfiles = folder.makeFolder(QStringLiteral("textfiles"));
        metricsFile = textfiles + QStringLiteral("/quindle.prom");
        kioskArguments = QStringList{QStringLiteral("--metrics-file"), metricsFile};
    }

    QString textfiles;
    QString metricsFile;
};

} // namespace

TEST_F(MetricsJourney, TouchesSearchAndPrints_reachPrometheusThroughNodeExporter)
{
    const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
    if (NodeExporter::programPath().isEmpty() || promtool.isEmpty())
        GTEST_SKIP() << "needs the Debian packages prometheus-node-exporter and prometheus";
    NodeExporter exporter(textfiles);
    ASSERT_EQ("", exporter.problem().toStdString());
    PrivateCups cups;
    if (cups.isMissingPrograms())
        GTEST_SKIP() << cups.problem().toStdString();
    const QString queue = QStringLiteral("capture");
    ASSERT_TRUE(cups.captureByDefault(queue)) << cups.problem().toStdString();
    startKiosk();
    const QStringList rings = kiosk->pictures(0);
    int withFile = 0; // a picture of the first page with a print file
    while (withFile < kiosk->slotsPerPage() && !QFile::exists(rings.at(withFile).chopped(4) + ".prn"))
        ++withFile;
    ASSERT_LT(withFile, kiosk->slotsPerPage());

    // A search without results: the lookup button, three keys, search, cancel.
    tap(kiosk->lookupButton());
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));
    for (const QChar key : QStringLiteral("X9X")) {
        tap(kiosk->keyCentre(key));
        ASSERT_TRUE(process->settle());
    }
    tap(kiosk->keyboardButton(3));
    ASSERT_TRUE(waitFor([&] { return screen->noResultsShown(); }));
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));
    tap(kiosk->keyboardButton(0));
    ASSERT_TRUE(waitFor([&] { return !screen->keyboardShown(); }));

    // One print sent, then one refused by a queue that takes no more jobs.
    tap(kiosk->slot(withFile + 1));
    ASSERT_TRUE(
        waitFor([&] { return screen->showsDetail(rings.at(withFile)) && screen->printButtonEnabled(); }));
    tap(kiosk->printButton());
    ASSERT_TRUE(waitFor([&] { return cups.capturedJobs().size() == 1; }, 60'000));
    ASSERT_TRUE(cups.waitUntilIdle() && cups.rejectJobs(queue)) << cups.problem().toStdString();
    ASSERT_TRUE(waitFor([&] { return screen->printButtonEnabled(); }));
    tap(kiosk->printButton());
    ASSERT_TRUE(waitFor([&] { return process->standardError().contains("The printer cannot be accessed"); }));

    // The last figures are written as the kiosk ends.
    ASSERT_EQ(0, endKiosk());
    const QMap<QString, double> scraped = exporter.scrape();
    QFile written(metricsFile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_FALSE(written.readAll().contains("X9X")) << "typed text never reaches a metric";
    const std::pair<QString, double> figures[] = {
        {QStringLiteral("node_textfile_scrape_error"), 0},
        {QStringLiteral("quindle_touches_total"), 9}, // every tap above
        {QStringLiteral("quindle_searches_without_results_total"), 1},
        {QStringLiteral("quindle_prints_sent_total"), 1},
        {QStringLiteral("quindle_prints_refused_total{reason=\"printer_unavailable\"}"), 1},
        {QStringLiteral("quindle_info{kiosk_folder=\"%1\",version=\"%2\"}")
             .arg(kiosk->kioskFolder(), QStringLiteral(QUINDLE_VERSION)),
         1},
    };
    for (const auto& [series, expected] : figures)
        EXPECT_EQ(expected, scraped.value(series, -1)) << series.toStdString();

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
    if (::geteuid() == 0)
        kioskLauncher = QStringList{QStringLiteral("setpriv"), QStringLiteral("--inh-caps=-dac_override"),
                                    QStringLiteral("--bounding-set=-dac_override"), QStringLiteral("--")};
    startKiosk();
    tap(kiosk->menuButton(2));
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(kiosk->pictures(1), 0); })) << "the kiosk goes on";
    ASSERT_EQ(0, endKiosk()) << "its last write fails as well";
    const QString errors = process->standardError();
    EXPECT_EQ(1, errors.count(QStringLiteral("Quindle: "))) << errors.toStdString();
    EXPECT_TRUE(
        errors.contains(QStringLiteral("The metrics file \"%1\" cannot be written").arg(metricsFile)));
}
