#include "metrics/MetricsText.h"
#include "metrics/KioskFigures.h"

#include <QByteArrayList>
#include <gtest/gtest.h>

using namespace quindle;

TEST(MetricsText, FiguresWithTheirTypeAndLabels)
{
    // What a row shows, its change to the figures, and consecutive whole lines of the text ("" after the
    // last). A plain counter, the info metric and every help line are scraped and checked by promtool in
    // the metrics journey.
    const std::tuple<const char*, void (*)(KioskFigures&), QByteArrayList> rows[] = {
        {"a counter by reason",
         [](KioskFigures& f) { f.printsRefusedPrinterUnavailable = 2; },
         {"# TYPE quindle_prints_refused_total counter",
          "quindle_prints_refused_total{reason=\"no_printer\"} 0",
          "quindle_prints_refused_total{reason=\"printer_unavailable\"} 2"}},
        {"a gauge beyond 32 bits, last",
         [](KioskFigures& f) { f.pictures = 10'000'000'000; },
         {"# TYPE quindle_pictures gauge", "quindle_pictures 10000000000", ""}},
        {"a folder name with a quote, a backslash, a line break and a byte that is not UTF-8",
         [](KioskFigures& f) { f.kioskFolder = QStringLiteral("/\"A\" \\ B\nC") + QChar(0xDCE9); },
         {"quindle_info{version=\"1.2.3\",kiosk_folder=\"/\\\"A\\\" \\\\ B\\nC?\"} 1"}},
    };
    for (const auto& [name, change, lines] : rows) {
        SCOPED_TRACE(name);
        KioskFigures figures;
        figures.version = QStringLiteral("1.2.3");
        figures.kioskFolder = QStringLiteral("/srv/kiosk/Shop");
        if (change)
            change(figures);
        const QByteArray text = "\n\n" + metricsText(figures) + '\n';
        EXPECT_TRUE(text.contains('\n' + lines.join('\n') + '\n')) << text.toStdString();
    }
}
