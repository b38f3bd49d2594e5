#pragma once

#include "tracking/TrackingBuffer.h"
#include "tracking/TrackingMode.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>

namespace quindle {

class Clock;

// The visitor-activity log: one comma-separated line per event, buffered in memory and
// appended to a daily ("mmddyyyy.csv") or monthly ("mm01yyyy.csv") file in the "log files"
// folder of the program folder.
//
// A flush that fails (no folder, full disk, read-only medium) never stops the kiosk and
// never loses a line: the lines stay in memory, in order, and go out with the next flush
// that succeeds. A file never keeps half a line.
class TrackingLog : public QObject
{
    Q_OBJECT

public:
    static constexpr int linesPerFlush = TrackingBuffer::linesPerFlush;
    static constexpr int maximumKeptLines = TrackingBuffer::maximumKeptLines;

    TrackingLog(const Clock& clock, QString programFolder, TrackingMode mode);

    // Stamps the text with the date and time and buffers the line. Writes the buffer at
    // every 15th line and at once for a "Program Termination" text. Does nothing at all
    // with tracking off.
    void logEvent(const QString& text);

    // Appends every waiting line to the file named for the present date. True when nothing
    // is left waiting afterwards.
    bool flush();

    int waitingLines() const { return m_waiting.size(); }
    // Every line accepted since the log was made, written or not.
    std::int64_t linesLogged() const { return m_waiting.linesAdded(); }
    // Flushes that left lines waiting.
    std::int64_t failedWrites() const { return m_failedWrites; }
    QString logFolder() const;

    // The line's bytes as they stand in the file, without its line end. A double quote
    // inside the text is doubled, so every line is a valid two-field CSV record.
    static QByteArray formatLine(const QString& text, const QDateTime& at);
    // "mmddyyyy.csv" for a daily log, "mm01yyyy.csv" for a monthly one.
    static QString fileNameFor(TrackingMode mode, const QDate& date);

signals:
    // Every event, also with tracking off: the kiosk's figures count the visitors' actions
    // whether or not they are logged.
    void eventLogged(const QString& text);

private:
    bool appendWaitingLines();
    bool writeWaitingLines(int fd);

    const Clock& m_clock;
    QString m_programFolder;
    TrackingMode m_mode;
    TrackingBuffer m_waiting;
    std::int64_t m_failedWrites = 0;
};

} // namespace quindle
