#include "tools/admin/ActivityAnalyser.h"

#include <algorithm>

namespace quindle::admin {

namespace {

// A name as the report shows it: quotes doubled in the log are single again.
QByteArray unquoted(QByteArrayView quoted)
{
    return quoted.toByteArray().replace("\"\"", "\"");
}

std::vector<NamedCount> mostFirst(const QHash<QByteArray, qint64>& counts)
{
    std::vector<NamedCount> list;
    list.reserve(static_cast<size_t>(counts.size()));
    for (auto it = counts.begin(); it != counts.end(); ++it)
        list.push_back(NamedCount{eventTextToString(it.key()), it.value()});
    std::sort(list.begin(), list.end(), [](const NamedCount& a, const NamedCount& b) {
        if (a.count != b.count)
            return a.count > b.count;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return list;
}

} // namespace

qint64 medianOf(std::vector<qint64> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2),
                     values.end());
    return values[values.size() / 2];
}

QString restartKindText(RestartKind kind)
{
    switch (kind) {
    case RestartKind::Scheduled:
        return QStringLiteral("scheduled restart");
    case RestartKind::Operator:
        return QStringLiteral("after the operator's exit");
    case RestartKind::ContentUpdate:
        return QStringLiteral("new content taken");
    case RestartKind::Unexpected:
        break;
    }
    return QStringLiteral("unexpected (no termination logged)");
}

ActivityAnalyser::ActivityAnalyser(QStringList menuCaptions, QDate from, QDate to)
    : m_menuCaptions(std::move(menuCaptions)), m_from(from), m_to(to)
{
    m_report.from = from;
    m_report.to = to;
}

void ActivityAnalyser::addFile(QByteArrayView contents)
{
    ++m_report.filesRead;
    while (!contents.isEmpty()) {
        const qsizetype end = contents.indexOf('\n');
        if (end < 0) {
            addLine(contents);
            return;
        }
        addLine(contents.first(end));
        contents = contents.sliced(end + 1);
    }
}

void ActivityAnalyser::addLine(QByteArrayView line)
{
    if (line.isEmpty() || (line.size() == 1 && line[0] == '\r'))
        return;
    const std::optional<TrackingLine> parsed = parseTrackingLine(line);
    const std::optional<ReadTrackingText> event =
        parsed ? readTrackingText(parsed->quotedText) : std::nullopt;
    if (!event) {
        ++m_report.linesSkipped;
        return;
    }
    const QDate date = parsed->date();
    if ((m_from.isValid() && date < m_from) || (m_to.isValid() && date > m_to))
        return;
    ++m_report.linesRead;
    if (!m_report.firstDay.isValid() || date < m_report.firstDay)
        m_report.firstDay = date;
    if (!m_report.lastDay.isValid() || date > m_report.lastDay)
        m_report.lastDay = date;
    m_lastMoment = std::max(m_lastMoment, momentOf(*parsed));
    count(*event, *parsed);
    m_previousEvent = event->event;
}

// Seconds since the start of the first day met; the day's start is cached because a
// day's lines come together.
qint64 ActivityAnalyser::momentOf(const TrackingLine& line)
{
    const int dayKey = line.year * 10000 + line.month * 100 + line.day;
    if (dayKey != m_cachedDayKey) {
        m_cachedDayKey = dayKey;
        m_cachedDayStart = line.date().toJulianDay() * 86400;
    }
    return m_cachedDayStart + line.secondOfDay();
}

void ActivityAnalyser::count(const ReadTrackingText& event, const TrackingLine& line)
{
    const qint64 moment = momentOf(line);
    switch (event.event) {
    case TrackingEvent::ProgramStarted: {
        endSession(m_lastVisitorMoment);
        resolveSearch(false);
        RestartKind kind = RestartKind::Unexpected;
        if (m_previousEvent == TrackingEvent::AutoReboot)
            kind = RestartKind::Scheduled;
        if (m_previousEvent == TrackingEvent::RightClick)
            kind = RestartKind::Operator;
        if (m_previousEvent == TrackingEvent::ContentUpdate)
            kind = RestartKind::ContentUpdate;
        m_report.restarts.push_back(
            Restart{QDateTime(line.date(), QTime(line.hour, line.minute, line.second)), kind});
        ++m_report.restartsByHour[static_cast<size_t>(line.hour)];
        return;
    }
    case TrackingEvent::AutoReboot:
    case TrackingEvent::RightClick:
    case TrackingEvent::ContentUpdate:
        endSession(moment);
        resolveSearch(false);
        return;
    case TrackingEvent::EnterAttract:
        endSession(moment);
        resolveSearch(false);
        return;
    case TrackingEvent::ExitAttract:
        endSession(m_lastVisitorMoment);
        m_sessionStart = moment;
        break;
    case TrackingEvent::MenuButton:
        ++m_menuPresses[event.menuNumber];
        resolveSearch(false);
        break;
    case TrackingEvent::Detail:
        ++m_opened[unquoted(event.argument)];
        resolveSearch(true);
        break;
    case TrackingEvent::Print:
        ++m_printed[unquoted(event.argument)];
        break;
    case TrackingEvent::Search: {
        resolveSearch(false);
        const QString typed = eventTextToString(unquoted(event.argument));
        SearchTally& tally = m_searches[typed.toCaseFolded()];
        if (tally.count == 0)
            tally.text = typed;
        ++tally.count;
        m_pendingSearch = typed.toCaseFolded();
        break;
    }
    case TrackingEvent::LookupButton:
        resolveSearch(false);
        break;
    case TrackingEvent::NextButton:
    case TrackingEvent::PrevButton:
    case TrackingEvent::CloseButton:
    case TrackingEvent::LookupCanceled:
        break;
    }
    countVisitorEvent(line, moment);
}

void ActivityAnalyser::countVisitorEvent(const TrackingLine& line, qint64 moment)
{
    ++m_report.visitorEvents;
    ++m_report.eventsByHour[static_cast<size_t>(line.hour)];
    ++m_report.eventsByDay[line.date()];
    m_lastVisitorMoment = moment;
    if (m_sessionStart)
        ++m_report.sessionEvents;
}

void ActivityAnalyser::endSession(qint64 moment)
{
    if (!m_sessionStart)
        return;
    const qint64 length = std::max<qint64>(0, moment - *m_sessionStart);
    m_sessionLengths.push_back(length);
    m_sessionStart.reset();
}

// A search is settled by what the visitor does next: a picture opened means it found
// what was wanted; another search, a menu button, the lookup button again or the kiosk
// going idle means it did not.
void ActivityAnalyser::resolveSearch(bool foundPicture)
{
    if (!m_pendingSearch)
        return;
    if (foundPicture)
        ++m_searches[*m_pendingSearch].followed;
    m_pendingSearch.reset();
}

ActivityReport ActivityAnalyser::finish()
{
    endSession(m_lastVisitorMoment);
    resolveSearch(false);
    ActivityReport report = std::move(m_report);
    report.sessions = static_cast<qint64>(m_sessionLengths.size());
    for (const qint64 length : m_sessionLengths) {
        report.sessionSeconds += length;
        report.longestSessionSeconds = std::max(report.longestSessionSeconds, length);
    }
    report.medianSessionSeconds = medianOf(m_sessionLengths);
    if (m_lastMoment > 0)
        report.lastLine =
            QDateTime(QDate::fromJulianDay(m_lastMoment / 86400), QTime(0, 0)).addSecs(m_lastMoment % 86400);
    report.sessionLengths = std::move(m_sessionLengths);
    report.productsOpened = mostFirst(m_opened);
    report.productsPrinted = mostFirst(m_printed);

    QList<int> numbers = m_menuPresses.keys();
    std::sort(numbers.begin(), numbers.end());
    for (const int number : numbers) {
        const QString caption = m_menuCaptions.value(number);
        const QString name = caption.isEmpty() ? QStringLiteral("Menu button %1").arg(number)
                                               : QStringLiteral("%1: %2").arg(number).arg(caption);
        report.categories.push_back(NamedCount{name, m_menuPresses.value(number)});
    }

    for (const SearchTally& tally : std::as_const(m_searches))
        report.searches.push_back(SearchCount{tally.text, tally.count, tally.followed});
    std::sort(report.searches.begin(), report.searches.end(), [](const SearchCount& a, const SearchCount& b) {
        if (a.count != b.count)
            return a.count > b.count;
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
    return report;
}

} // namespace quindle::admin
