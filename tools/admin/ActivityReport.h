#pragma once

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <array>
#include <vector>

namespace quindle::admin {

struct NamedCount
{
    QString name;
    qint64 count = 0;
};

// A search text, how often it was typed, and how often a picture was opened after it
// before the visitor went on to something else. Never followed by a picture: a product
// visitors asked for and did not find.
struct SearchCount
{
    QString text;
    qint64 count = 0;
    qint64 followedByPicture = 0;
};

enum class RestartKind {
    Scheduled,     // after "Program Termination: Auto Reboot"
    Operator,      // after "Program Termination: User Right-Click"
    ContentUpdate, // after "Program Termination: Content Update"
    Unexpected,    // with no termination line before it: power cut, watchdog card, crash
};

struct Restart
{
    QDateTime at; // the "Program Started" line
    RestartKind kind = RestartKind::Unexpected;
};

// Everything the owner's activity report shows, counted from the tracking logs.
struct ActivityReport
{
    QDate from; // the range asked for; invalid ends mean open
    QDate to;
    QDate firstDay; // the days the lines read actually cover
    QDate lastDay;
    int filesRead = 0;
    qint64 linesRead = 0;    // the kiosk's own lines inside the range
    qint64 linesSkipped = 0; // lines that are not the kiosk's own
    qint64 visitorEvents = 0;

    std::array<qint64, 24> eventsByHour{};
    QMap<QDate, qint64> eventsByDay;

    qint64 sessions = 0;
    qint64 sessionSeconds = 0; // all sessions together
    qint64 longestSessionSeconds = 0;
    qint64 medianSessionSeconds = 0;
    qint64 sessionEvents = 0;           // visitor events inside sessions
    std::vector<qint64> sessionLengths; // seconds, in the order the sessions ended
    QDateTime lastLine;                 // the latest kiosk line read; invalid when none

    std::vector<NamedCount> productsOpened;  // most first
    std::vector<NamedCount> productsPrinted; // most first
    std::vector<NamedCount> categories;      // by menu number, named by their captions
    std::vector<SearchCount> searches;       // most typed first

    std::array<qint64, 24> restartsByHour{};
    std::vector<Restart> restarts; // in time order
};

QString restartKindText(RestartKind kind);

// The middle value (the upper of the two middle ones for an even count); 0 for none.
qint64 medianOf(std::vector<qint64> values);

} // namespace quindle::admin
