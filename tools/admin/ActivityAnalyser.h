#pragma once

#include "tools/admin/ActivityReport.h"
#include "tools/admin/TrackingLine.h"
#include "tracking/TrackingEvents.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <optional>

namespace quindle::admin {

// Counts the lines of the tracking logs into an activity report. Lines must arrive in the
// order they were logged: sessions, searches and restarts are read off what follows what.
class ActivityAnalyser
{
public:
    // menuCaptions[N] names menu button N (index 0 unused); a number without a caption is
    // named "Menu button N". Lines outside from..to (either may be invalid: open) are left out.
    ActivityAnalyser(QStringList menuCaptions, QDate from, QDate to);

    // Every line of one file's contents, split at line ends.
    void addFile(QByteArrayView contents);
    void addLine(QByteArrayView line);

    ActivityReport finish();

private:
    void count(const ReadTrackingText& event, const TrackingLine& line);
    void countVisitorEvent(const TrackingLine& line, qint64 moment);
    void endSession(qint64 moment);
    void resolveSearch(bool foundPicture);
    qint64 momentOf(const TrackingLine& line);

    QStringList m_menuCaptions;
    QDate m_from;
    QDate m_to;
    ActivityReport m_report;

    QHash<QByteArray, qint64> m_opened;
    QHash<QByteArray, qint64> m_printed;
    QHash<int, qint64> m_menuPresses;
    struct SearchTally
    {
        QString text; // as first typed
        qint64 count = 0;
        qint64 followed = 0;
    };
    QHash<QString, SearchTally> m_searches; // by the case-folded text
    std::optional<QString> m_pendingSearch;
    std::optional<qint64> m_sessionStart;
    qint64 m_lastVisitorMoment = 0;
    qint64 m_lastMoment = 0;
    std::vector<qint64> m_sessionLengths;
    std::optional<TrackingEvent> m_previousEvent;

    int m_cachedDayKey = 0;
    qint64 m_cachedDayStart = 0;
};

} // namespace quindle::admin
