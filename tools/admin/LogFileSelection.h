#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace quindle::admin {

struct LogFile
{
    QString path;
    QDate date; // the date in the file's name
};

// The tracking logs of a "log files" folder that may hold lines from..to (either end may be
// invalid: open), oldest first. A daily file "mmddyyyy.csv" and a monthly one
// "mm01yyyy.csv" cannot be told apart by name, so a first-of-month file is taken whenever
// its month meets the range; a daily file is also taken a day past either end, because a
// line logged just before midnight goes into the next day's file. The lines themselves are
// filtered by their own dates.
QList<LogFile> selectLogFiles(const QString& logFolder, QDate from, QDate to);

// The date a log file's name stands for, or an invalid date for any other name.
QDate logFileDate(const QString& fileName);

} // namespace quindle::admin
