#include "tools/admin/ReportWriters.h"

namespace quindle::admin {

namespace {

// A spreadsheet reads a cell that begins with one of these as a formula, quotes or not: a
// picture named "=HYPERLINK(...)" would become a link. A leading apostrophe keeps the cell
// plain text and is not shown.
bool readAsFormula(const QString& text)
{
    return !text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front());
}

QString field(const QString& text)
{
    QString quoted = readAsFormula(text) ? QLatin1Char('\'') + text : text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

class CsvRows
{
public:
    void add(const QString& section, const QString& item, qint64 count, const QString& detail = {})
    {
        m_text += field(section) + QLatin1Char(',') + field(item) + QLatin1Char(',') +
                  QString::number(count) + QLatin1Char(',') + field(detail) + QStringLiteral("\r\n");
    }
    const QString& text() const { return m_text; }

private:
    QString m_text = QStringLiteral("\"Section\",\"Item\",\"Count\",\"Detail\"\r\n");
};

} // namespace

QString reportCsv(const ActivityReport& report)
{
    CsvRows rows;
    rows.add(QStringLiteral("Summary"), QStringLiteral("Log files read"), report.filesRead);
    rows.add(QStringLiteral("Summary"), QStringLiteral("Kiosk lines"), report.linesRead);
    rows.add(QStringLiteral("Summary"), QStringLiteral("Skipped lines"), report.linesSkipped);
    rows.add(QStringLiteral("Summary"), QStringLiteral("Visitor touches"), report.visitorEvents);
    for (size_t hour = 0; hour < report.eventsByHour.size(); ++hour)
        rows.add(QStringLiteral("Hour"), QString::number(hour), report.eventsByHour[hour]);
    for (auto it = report.eventsByDay.begin(); it != report.eventsByDay.end(); ++it)
        rows.add(QStringLiteral("Day"), it.key().toString(Qt::ISODate), it.value());
    rows.add(QStringLiteral("Visits"), QStringLiteral("Count"), report.sessions);
    rows.add(QStringLiteral("Visits"), QStringLiteral("Total seconds"), report.sessionSeconds);
    rows.add(QStringLiteral("Visits"), QStringLiteral("Median seconds"), report.medianSessionSeconds);
    rows.add(QStringLiteral("Visits"), QStringLiteral("Longest seconds"), report.longestSessionSeconds);
    rows.add(QStringLiteral("Visits"), QStringLiteral("Touches"), report.sessionEvents);
    for (const NamedCount& opened : report.productsOpened)
        rows.add(QStringLiteral("Opened"), opened.name, opened.count);
    for (const NamedCount& printed : report.productsPrinted)
        rows.add(QStringLiteral("Printed"), printed.name, printed.count);
    for (const NamedCount& category : report.categories)
        rows.add(QStringLiteral("Category"), category.name, category.count);
    for (const SearchCount& search : report.searches) {
        // The detail is how often a picture was opened after it; 0 marks a product not found.
        rows.add(QStringLiteral("Search"), search.text, search.count,
                 QString::number(search.followedByPicture));
    }
    for (size_t hour = 0; hour < report.restartsByHour.size(); ++hour)
        rows.add(QStringLiteral("Restarts by hour"), QString::number(hour), report.restartsByHour[hour]);
    for (const Restart& restart : report.restarts)
        rows.add(QStringLiteral("Restart"), restart.at.toString(Qt::ISODate), 1,
                 restartKindText(restart.kind));
    return rows.text();
}

} // namespace quindle::admin
