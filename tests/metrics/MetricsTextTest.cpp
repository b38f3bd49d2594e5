#include "metrics/MetricsText.h"
#include "metrics/KioskFigures.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

using namespace quindle;

namespace {

QByteArray lines(const QStringList& texts)
{
    return texts.join(QLatin1Char('\n')).toUtf8() + '\n';
}

const QByteArray freshKiosk = lines({
    QStringLiteral(
        "# HELP quindle_info The program's version and the kiosk folder in use, with the version of "
        "its content when it was published."),
    QStringLiteral("# TYPE quindle_info gauge"),
    QStringLiteral("quindle_info{version=\"1.2.3\",kiosk_folder=\"/srv/kiosk/Showroom\"} 1"),
    QStringLiteral("# HELP quindle_start_time_seconds When the kiosk started, in seconds since the epoch."),
    QStringLiteral("# TYPE quindle_start_time_seconds gauge"),
    QStringLiteral("quindle_start_time_seconds 1796479629"),
    QStringLiteral(
        "# HELP quindle_last_touch_time_seconds When the screen was last touched, in seconds since "
        "the epoch; 0 before the first touch."),
    QStringLiteral("# TYPE quindle_last_touch_time_seconds gauge"),
    QStringLiteral("quindle_last_touch_time_seconds 0"),
    QStringLiteral("# HELP quindle_touches_total Touches of the kiosk's screen."),
    QStringLiteral("# TYPE quindle_touches_total counter"),
    QStringLiteral("quindle_touches_total 0"),
    QStringLiteral("# HELP quindle_visits_total Slideshows ended by a touch."),
    QStringLiteral("# TYPE quindle_visits_total counter"),
    QStringLiteral("quindle_visits_total 0"),
    QStringLiteral("# HELP quindle_detail_views_total Pictures shown in the detail view."),
    QStringLiteral("# TYPE quindle_detail_views_total counter"),
    QStringLiteral("quindle_detail_views_total 0"),
    QStringLiteral(
        "# HELP quindle_pages_turned_total Thumbnail pages turned with the next and previous buttons."),
    QStringLiteral("# TYPE quindle_pages_turned_total counter"),
    QStringLiteral("quindle_pages_turned_total 0"),
    QStringLiteral("# HELP quindle_searches_total Searches made on the on-screen keyboard."),
    QStringLiteral("# TYPE quindle_searches_total counter"),
    QStringLiteral("quindle_searches_total 0"),
    QStringLiteral("# HELP quindle_searches_without_results_total Searches that found no picture."),
    QStringLiteral("# TYPE quindle_searches_without_results_total counter"),
    QStringLiteral("quindle_searches_without_results_total 0"),
    QStringLiteral("# HELP quindle_prints_sent_total Print jobs handed to the printer."),
    QStringLiteral("# TYPE quindle_prints_sent_total counter"),
    QStringLiteral("quindle_prints_sent_total 0"),
    QStringLiteral("# HELP quindle_prints_refused_total Print presses that could not print, by reason."),
    QStringLiteral("# TYPE quindle_prints_refused_total counter"),
    QStringLiteral("quindle_prints_refused_total{reason=\"no_printer\"} 0"),
    QStringLiteral("quindle_prints_refused_total{reason=\"printer_unavailable\"} 0"),
    QStringLiteral("# HELP quindle_messages_total Message boxes raised, by kind of message."),
    QStringLiteral("# TYPE quindle_messages_total counter"),
    QStringLiteral("quindle_messages_total{kind=\"no_printer\"} 0"),
    QStringLiteral("quindle_messages_total{kind=\"printer_unavailable\"} 0"),
    QStringLiteral("quindle_messages_total{kind=\"watchdog\"} 0"),
    QStringLiteral("quindle_messages_total{kind=\"restart_refused\"} 0"),
    QStringLiteral("quindle_messages_total{kind=\"empty_category\"} 0"),
    QStringLiteral("quindle_messages_total{kind=\"missing_folder\"} 0"),
    QStringLiteral("quindle_messages_total{kind=\"other\"} 0"),
    QStringLiteral("# HELP quindle_undecodable_pictures_total Pictures that could not be decoded."),
    QStringLiteral("# TYPE quindle_undecodable_pictures_total counter"),
    QStringLiteral("quindle_undecodable_pictures_total 0"),
    QStringLiteral("# HELP quindle_watchdog_failures_total Failures of the USB watchdog card: its library "
                   "missing or a command refused."),
    QStringLiteral("# TYPE quindle_watchdog_failures_total counter"),
    QStringLiteral("quindle_watchdog_failures_total 0"),
    QStringLiteral("# HELP quindle_restarts_requested_total Scheduled restarts of the computer requested."),
    QStringLiteral("# TYPE quindle_restarts_requested_total counter"),
    QStringLiteral("quindle_restarts_requested_total 0"),
    QStringLiteral("# HELP quindle_tracking_lines_waiting Tracking log lines waiting to be written."),
    QStringLiteral("# TYPE quindle_tracking_lines_waiting gauge"),
    QStringLiteral("quindle_tracking_lines_waiting 0"),
    QStringLiteral("# HELP quindle_tracking_write_failures_total Writes of the tracking log that failed."),
    QStringLiteral("# TYPE quindle_tracking_write_failures_total counter"),
    QStringLiteral("quindle_tracking_write_failures_total 0"),
    QStringLiteral("# HELP quindle_categories Categories on the menu."),
    QStringLiteral("# TYPE quindle_categories gauge"),
    QStringLiteral("quindle_categories 5"),
    QStringLiteral("# HELP quindle_pictures Pictures in the menu's categories."),
    QStringLiteral("# TYPE quindle_pictures gauge"),
    QStringLiteral("quindle_pictures 0"),
});

struct TextCase
{
    const char* name;
    std::function<void(KioskFigures&)> change;
    // The whole text, or the lines that differ from a fresh kiosk's text.
    QByteArray expected;
    QStringList changedLines;
};

KioskFigures freshFigures()
{
    KioskFigures figures;
    figures.version = QStringLiteral("1.2.3");
    figures.kioskFolder = QStringLiteral("/srv/kiosk/Showroom");
    figures.startTime = 1796479629;
    figures.categories = 5;
    return figures;
}

// The fresh text with each changed line in place of the line that begins like it: the same
// name and first label, or the same name without labels.
QByteArray withLines(QByteArray text, const QStringList& changed)
{
    for (const QString& line : changed) {
        const QByteArray replacement = line.toUtf8();
        const qsizetype keyEnd = replacement.indexOf(replacement.contains('{') ? ',' : ' ');
        const qsizetype labelsEnd = replacement.indexOf('}');
        const qsizetype end = keyEnd < 0 || (labelsEnd >= 0 && labelsEnd < keyEnd) ? labelsEnd : keyEnd;
        const QByteArray key = '\n' + replacement.left(end + 1);
        const qsizetype at = text.indexOf(key);
        if (at < 0)
            return "no line begins with " + key;
        text.replace(at + 1, text.indexOf('\n', at + 1) - at - 1, replacement);
    }
    return text;
}

} // namespace

TEST(MetricsText, EveryFigureWithItsHelpTypeAndLabels)
{
    const TextCase cases[] = {
        {"a fresh kiosk", {}, freshKiosk, {}},
        {"counters as they grow",
         [](KioskFigures& f) {
             f.lastTouchTime = 1796480000;
             f.touches = 41;
             f.visits = 3;
             f.detailViews = 12;
             f.pagesTurned = 7;
             f.searches = 2;
             f.searchesWithoutResults = 1;
             f.printsSent = 4;
             f.printsRefusedPrinterUnavailable = 2;
             f.messages.at(static_cast<size_t>(MessageKind::PrinterUnavailable)) = 2;
             f.messages.at(static_cast<size_t>(MessageKind::Other)) = 1;
             f.undecodablePictures = 5;
             f.watchdogFailures = 1;
             f.restartsRequested = 1;
             f.trackingLinesWaiting = 14;
             f.trackingWriteFailures = 3;
             f.pictures = 10'000'000'000;
         },
         {},
         {QStringLiteral("quindle_last_touch_time_seconds 1796480000"),
          QStringLiteral("quindle_touches_total 41"), QStringLiteral("quindle_visits_total 3"),
          QStringLiteral("quindle_detail_views_total 12"), QStringLiteral("quindle_pages_turned_total 7"),
          QStringLiteral("quindle_searches_total 2"),
          QStringLiteral("quindle_searches_without_results_total 1"),
          QStringLiteral("quindle_prints_sent_total 4"),
          QStringLiteral("quindle_prints_refused_total{reason=\"printer_unavailable\"} 2"),
          QStringLiteral("quindle_messages_total{kind=\"printer_unavailable\"} 2"),
          QStringLiteral("quindle_messages_total{kind=\"other\"} 1"),
          QStringLiteral("quindle_undecodable_pictures_total 5"),
          QStringLiteral("quindle_watchdog_failures_total 1"),
          QStringLiteral("quindle_restarts_requested_total 1"),
          QStringLiteral("quindle_tracking_lines_waiting 14"),
          QStringLiteral("quindle_tracking_write_failures_total 3"),
          QStringLiteral("quindle_pictures 10000000000")}},
        {"a published content version",
         [](KioskFigures& f) { f.contentVersion = QStringLiteral("2026-12-01.3"); },
         {},
         {QStringLiteral("quindle_info{version=\"1.2.3\",kiosk_folder=\"/srv/kiosk/Showroom\","
                         "content_version=\"2026-12-01.3\"} 1")}},
        {"a folder name with a quote, a backslash and a line break",
         [](KioskFigures& f) { f.kioskFolder = QStringLiteral("/srv/\"Main\" \\ Shop\nB"); },
         {},
         {QStringLiteral(
             "quindle_info{version=\"1.2.3\",kiosk_folder=\"/srv/\\\"Main\\\" \\\\ Shop\\nB\"} 1")}},
        {"a folder name that is not UTF-8 stays valid UTF-8",
         [](KioskFigures& f) { f.kioskFolder = QStringLiteral("/srv/Caf") + QChar(0xDC00 + 0xE9); },
         {},
         {QStringLiteral("quindle_info{version=\"1.2.3\",kiosk_folder=\"/srv/Caf?\"} 1")}},
    };
    for (const TextCase& row : cases) {
        SCOPED_TRACE(row.name);
        KioskFigures figures = freshFigures();
        if (row.change)
            row.change(figures);
        const QByteArray expected =
            row.expected.isEmpty() ? withLines(freshKiosk, row.changedLines) : row.expected;
        EXPECT_EQ(expected.toStdString(), metricsText(figures).toStdString());
    }
}
