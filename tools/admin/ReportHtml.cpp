#include "tools/admin/ReportWriters.h"
#include "tools/admin/SvgChart.h"

#include <algorithm>
#include <numeric>

namespace quindle::admin {

namespace {

constexpr size_t topListLength = 20;

const char* const pageStyle = R"(
body { font-family: sans-serif; color: #222; margin: 24px auto; max-width: 1100px; }
h1 { font-size: 26px; margin-bottom: 4px; }
h2 { font-size: 19px; border-bottom: 2px solid #2f6f9f; padding-bottom: 3px; margin-top: 28px; }
p.range { color: #555; margin-top: 0; }
section { break-inside: avoid; page-break-inside: avoid; }
.cards { display: flex; flex-wrap: wrap; gap: 10px; }
.card { border: 1px solid #ccc; border-radius: 6px; padding: 8px 14px; min-width: 130px; }
.card b { display: block; font-size: 22px; color: #2f6f9f; }
table { border-collapse: collapse; margin-top: 6px; }
th, td { border-bottom: 1px solid #ddd; padding: 3px 10px; text-align: left; }
td.n, th.n { text-align: right; }
tr.missed td { color: #a02020; }
.note { color: #555; font-size: 13px; }
@media print { body { margin: 0; max-width: none; } h2 { margin-top: 16px; } }
)";

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString card(const QString& label, const QString& value)
{
    return QStringLiteral("<div class=\"card\"><b>%1</b>%2</div>").arg(escaped(value), escaped(label));
}

std::vector<ChartBar> topBars(const std::vector<NamedCount>& counts)
{
    std::vector<ChartBar> bars;
    for (size_t i = 0; i < counts.size() && i < topListLength; ++i)
        bars.push_back(ChartBar{counts[i].name, counts[i].count});
    return bars;
}

std::vector<ChartBar> hourBars(const std::array<qint64, 24>& counts)
{
    std::vector<ChartBar> bars;
    for (size_t hour = 0; hour < counts.size(); ++hour)
        bars.push_back(ChartBar{QString::number(hour), counts[hour]});
    return bars;
}

QString rangeText(const ActivityReport& report)
{
    if (!report.firstDay.isValid())
        return QStringLiteral("No activity in the logs read");
    const QString format = QStringLiteral("d MMMM yyyy");
    if (report.firstDay == report.lastDay)
        return report.firstDay.toString(format);
    return report.firstDay.toString(format) + QStringLiteral(" to ") + report.lastDay.toString(format);
}

QString summarySection(const ActivityReport& report)
{
    const qint64 searches = std::accumulate(report.searches.begin(), report.searches.end(), qint64{0},
                                            [](qint64 sum, const SearchCount& s) { return sum + s.count; });
    qint64 prints = 0;
    for (const NamedCount& printed : report.productsPrinted)
        prints += printed.count;
    const QString average =
        report.sessions > 0 ? durationText(report.sessionSeconds / report.sessions) : QStringLiteral("–");
    return QStringLiteral("<section><div class=\"cards\">") +
           card(QStringLiteral("visitor touches"), QString::number(report.visitorEvents)) +
           card(QStringLiteral("visits (sessions)"), QString::number(report.sessions)) +
           card(QStringLiteral("average visit"), average) +
           card(QStringLiteral("searches"), QString::number(searches)) +
           card(QStringLiteral("prints"), QString::number(prints)) +
           card(QStringLiteral("restarts"), QString::number(static_cast<qint64>(report.restarts.size()))) +
           QStringLiteral("</div><p class=\"note\">%1 log files read, %2 kiosk lines counted, %3 other lines "
                          "skipped.</p></section>")
               .arg(report.filesRead)
               .arg(report.linesRead)
               .arg(report.linesSkipped);
}

QString hourSection(const ActivityReport& report)
{
    return QStringLiteral("<section><h2>Visitor activity by hour of day</h2>") +
           columnChart(hourBars(report.eventsByHour), 1000, 240) +
           QStringLiteral(
               "<p class=\"note\">Touches on the screen in each hour, all days together.</p></section>");
}

QString daySection(const ActivityReport& report)
{
    std::vector<ChartBar> bars;
    if (report.firstDay.isValid()) {
        for (QDate day = report.firstDay; day <= report.lastDay; day = day.addDays(1))
            bars.push_back(ChartBar{day.toString(QStringLiteral("d MMM")), report.eventsByDay.value(day)});
    }
    const int labelEvery = std::max(1, static_cast<int>(bars.size()) / 14);
    return QStringLiteral("<section><h2>Visitor activity by day</h2>") +
           columnChart(bars, 1000, 240, labelEvery) + QStringLiteral("</section>");
}

QString sessionSection(const ActivityReport& report)
{
    QString html =
        QStringLiteral("<section><h2>Visits</h2><p>A visit runs from a touch that ends the attract "
                       "slideshow until the slideshow starts again.</p><table>");
    const auto row = [](const QString& label, const QString& value) {
        return QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td></tr>")
            .arg(escaped(label), escaped(value));
    };
    html += row(QStringLiteral("Visits"), QString::number(report.sessions));
    if (report.sessions > 0) {
        html += row(QStringLiteral("Average length"), durationText(report.sessionSeconds / report.sessions));
        html += row(QStringLiteral("Median length"), durationText(report.medianSessionSeconds));
        html += row(QStringLiteral("Longest"), durationText(report.longestSessionSeconds));
        html += row(
            QStringLiteral("Touches per visit"),
            QString::number(static_cast<double>(report.sessionEvents) / static_cast<double>(report.sessions),
                            'f', 1));
    }
    return html + QStringLiteral("</table></section>");
}

QString listSection(const QString& title, const std::vector<NamedCount>& counts, const QString& empty)
{
    QString html = QStringLiteral("<section><h2>%1</h2>").arg(escaped(title));
    if (counts.empty())
        return html + QStringLiteral("<p class=\"note\">%1</p></section>").arg(escaped(empty));
    html += barList(topBars(counts), 1000);
    if (counts.size() > topListLength)
        html += QStringLiteral("<p class=\"note\">The %1 most of %2; the CSV summary lists all.</p>")
                    .arg(topListLength)
                    .arg(counts.size());
    return html + QStringLiteral("</section>");
}

QString searchSection(const ActivityReport& report)
{
    QString html = QStringLiteral("<section><h2>Searches</h2>");
    if (report.searches.empty())
        return html + QStringLiteral("<p class=\"note\">No search was typed.</p></section>");
    html += QStringLiteral(
        "<p>A search never followed by opening a picture is a product visitors asked for and did "
        "not find (shown in red).</p><table><tr><th>Search text</th><th class=\"n\">Typed</th>"
        "<th class=\"n\">Followed by a picture</th></tr>");
    for (const SearchCount& search : report.searches) {
        const QString shown = search.text.isEmpty() ? QStringLiteral("(empty)") : search.text;
        html += QStringLiteral("<tr%1><td>%2</td><td class=\"n\">%3</td><td class=\"n\">%4</td></tr>")
                    .arg(search.followedByPicture == 0 ? QStringLiteral(" class=\"missed\"") : QString(),
                         escaped(shown))
                    .arg(search.count)
                    .arg(search.followedByPicture);
    }
    return html + QStringLiteral("</table></section>");
}

QString restartSection(const ActivityReport& report)
{
    QString html = QStringLiteral("<section><h2>Restarts</h2>");
    if (report.restarts.empty())
        return html +
               QStringLiteral("<p class=\"note\">The kiosk was not started in this period.</p></section>");
    html += QStringLiteral("<p>Starts of the kiosk by hour of day.</p>") +
            columnChart(hourBars(report.restartsByHour), 1000, 180) +
            QStringLiteral("<table><tr><th>Started</th><th>Kind</th></tr>");
    for (const Restart& restart : report.restarts) {
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                    .arg(restart.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                         restartKindText(restart.kind));
    }
    return html + QStringLiteral("</table></section>");
}

QString pageStart(const QString& title, const ActivityReport& report)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                                  "<title>%1</title><style>%2</style></head><body>")
                       .arg(escaped(title), QString::fromLatin1(pageStyle));
    return html + QStringLiteral("<h1>%1</h1><p class=\"range\">%2</p>")
                      .arg(escaped(title), escaped(rangeText(report)));
}

QString activitySections(const ActivityReport& report)
{
    QString html = summarySection(report);
    html += hourSection(report);
    html += daySection(report);
    html += sessionSection(report);
    html += listSection(QStringLiteral("Products opened most"), report.productsOpened,
                        QStringLiteral("No picture was opened."));
    html += listSection(QStringLiteral("Products printed most"), report.productsPrinted,
                        QStringLiteral("Nothing was printed."));
    html += listSection(QStringLiteral("Categories chosen"), report.categories,
                        QStringLiteral("No menu button was pressed."));
    html += searchSection(report);
    html += restartSection(report);
    return html;
}

} // namespace

QString durationText(qint64 seconds)
{
    if (seconds >= 3600)
        return QStringLiteral("%1 h %2 min")
            .arg(seconds / 3600)
            .arg((seconds % 3600) / 60, 2, 10, QLatin1Char('0'));
    if (seconds >= 60)
        return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 s").arg(seconds);
}

QString reportHtml(const ActivityReport& report, const QString& kioskName)
{
    const QString title = kioskName.isEmpty() ? QStringLiteral("Kiosk activity")
                                              : QStringLiteral("Kiosk activity: ") + kioskName;
    return pageStart(title, report) + activitySections(report) + QStringLiteral("</body></html>\n");
}

QString fleetReportHtml(const std::vector<KioskActivity>& kiosks, const QDateTime& now)
{
    const ActivityReport sum = fleetSum(kiosks);
    QString html = pageStart(QStringLiteral("Fleet activity: %1 kiosks").arg(kiosks.size()), sum);
    html += QStringLiteral("<section><h2>Kiosks</h2><table><tr><th>Kiosk</th><th class=\"n\">Touches</th>"
                           "<th class=\"n\">Visits</th><th class=\"n\">Prints</th><th class=\"n\">Failed "
                           "searches</th><th>Last activity</th><th>Content version</th></tr>");
    for (const KioskActivity& kiosk : kiosks) {
        const ActivityReport& one = kiosk.report;
        const bool silent = !one.lastLine.isValid() || one.lastLine.secsTo(now) > 24 * 3600;
        const QString last = one.lastLine.isValid()
                                 ? one.lastLine.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                 : QStringLiteral("never");
        html +=
            QStringLiteral("<tr%1><td>%2</td><td class=\"n\">%3</td><td class=\"n\">%4</td><td class=\"n\">%5"
                           "</td><td class=\"n\">%6</td><td>%7</td><td>%8</td></tr>")
                .arg(silent ? QStringLiteral(" class=\"missed\"") : QString(), escaped(kiosk.name))
                .arg(one.visitorEvents)
                .arg(one.sessions)
                .arg(prints(one))
                .arg(failedSearches(one))
                .arg(escaped(silent ? last + QStringLiteral(" (silent for over a day)") : last),
                     escaped(kiosk.contentVersion.isEmpty() ? QStringLiteral("–") : kiosk.contentVersion));
    }
    html += QStringLiteral("</table></section><h1>The whole fleet</h1>");
    return html + activitySections(sum) + QStringLiteral("</body></html>\n");
}

} // namespace quindle::admin
