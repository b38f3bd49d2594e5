#include "tools/admin/FleetReport.h"

#include <QHash>
#include <algorithm>

namespace quindle::admin {

namespace {

void addCounts(std::vector<NamedCount>& sum, const std::vector<NamedCount>& counts, bool sortMostFirst)
{
    for (const NamedCount& count : counts) {
        const auto it =
            std::find_if(sum.begin(), sum.end(), [&](const NamedCount& c) { return c.name == count.name; });
        if (it == sum.end())
            sum.push_back(count);
        else
            it->count += count.count;
    }
    if (!sortMostFirst)
        return;
    std::stable_sort(sum.begin(), sum.end(),
                     [](const NamedCount& a, const NamedCount& b) { return a.count > b.count; });
}

void addSearches(std::vector<SearchCount>& sum, const std::vector<SearchCount>& searches)
{
    for (const SearchCount& search : searches) {
        const auto it = std::find_if(sum.begin(), sum.end(), [&](const SearchCount& s) {
            return s.text.compare(search.text, Qt::CaseInsensitive) == 0;
        });
        if (it == sum.end()) {
            sum.push_back(search);
            continue;
        }
        it->count += search.count;
        it->followedByPicture += search.followedByPicture;
    }
    std::stable_sort(sum.begin(), sum.end(),
                     [](const SearchCount& a, const SearchCount& b) { return a.count > b.count; });
}

} // namespace

ActivityReport fleetSum(const std::vector<KioskActivity>& kiosks)
{
    ActivityReport sum;
    for (const KioskActivity& kiosk : kiosks) {
        const ActivityReport& one = kiosk.report;
        sum.from = one.from;
        sum.to = one.to;
        if (one.firstDay.isValid() && (!sum.firstDay.isValid() || one.firstDay < sum.firstDay))
            sum.firstDay = one.firstDay;
        if (one.lastDay.isValid() && (!sum.lastDay.isValid() || one.lastDay > sum.lastDay))
            sum.lastDay = one.lastDay;
        sum.lastLine = std::max(sum.lastLine, one.lastLine);
        sum.filesRead += one.filesRead;
        sum.linesRead += one.linesRead;
        sum.linesSkipped += one.linesSkipped;
        sum.visitorEvents += one.visitorEvents;
        for (size_t hour = 0; hour < 24; ++hour) {
            sum.eventsByHour[hour] += one.eventsByHour[hour];
            sum.restartsByHour[hour] += one.restartsByHour[hour];
        }
        for (auto it = one.eventsByDay.begin(); it != one.eventsByDay.end(); ++it)
            sum.eventsByDay[it.key()] += it.value();
        sum.sessions += one.sessions;
        sum.sessionSeconds += one.sessionSeconds;
        sum.longestSessionSeconds = std::max(sum.longestSessionSeconds, one.longestSessionSeconds);
        sum.sessionEvents += one.sessionEvents;
        sum.sessionLengths.insert(sum.sessionLengths.end(), one.sessionLengths.begin(),
                                  one.sessionLengths.end());
        addCounts(sum.productsOpened, one.productsOpened, true);
        addCounts(sum.productsPrinted, one.productsPrinted, true);
        addCounts(sum.categories, one.categories, false);
        addSearches(sum.searches, one.searches);
        sum.restarts.insert(sum.restarts.end(), one.restarts.begin(), one.restarts.end());
    }
    sum.medianSessionSeconds = medianOf(sum.sessionLengths);
    std::stable_sort(sum.restarts.begin(), sum.restarts.end(),
                     [](const Restart& a, const Restart& b) { return a.at < b.at; });
    return sum;
}

qint64 failedSearches(const ActivityReport& report)
{
    qint64 failed = 0;
    for (const SearchCount& search : report.searches)
        failed += search.followedByPicture == 0 ? search.count : 0;
    return failed;
}

qint64 prints(const ActivityReport& report)
{
    qint64 total = 0;
    for (const NamedCount& printed : report.productsPrinted)
        total += printed.count;
    return total;
}

} // namespace quindle::admin
