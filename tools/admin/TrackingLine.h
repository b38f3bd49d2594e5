#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <optional>

namespace quindle::admin {

// One line of a tracking log as the kiosk writes it: "text","mm/dd/yyyy hh:mm:ss".
//
// Lines are read as bytes: a year of logs is over a million lines, and only the names of
// products and the search texts are ever turned into text.
struct TrackingLine
{
    QByteArrayView quotedText; // as it stands between the outer quotes: a quote may be doubled
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    // The event text with doubled quotes made single again. Lines written before quotes
    // were doubled hold single ones; both read the same.
    QByteArray text() const;
    QDate date() const { return QDate(year, month, day); }
    int secondOfDay() const { return hour * 3600 + minute * 60 + second; }
};

// Reads one line (a trailing CR is allowed). Nothing when the line is not in the kiosk's
// format: another program's line, a header, a half-written last line.
std::optional<TrackingLine> parseTrackingLine(QByteArrayView line);

// An event text as the owner is to read it (names that are not valid UTF-8 kept as the
// file system keeps them).
QString eventTextToString(const QByteArray& text);

} // namespace quindle::admin
