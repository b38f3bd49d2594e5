#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <deque>

namespace quindle {

// The lines of the tracking log that wait to be written, oldest first, each as the bytes it
// takes in the file (CR LF included). It decides when they are due to be written; writing
// them is the tracking log's work, so everything here happens in memory.
class TrackingBuffer
{
public:
    // The lines are due when this many have arrived since the last attempt to write them.
    static constexpr int linesPerFlush = 15;
    // While the log cannot be written, only the newest lines are kept, so a dead disk
    // cannot use up the memory of a kiosk that runs for days.
    static constexpr int maximumKeptLines = 10'000;

    // Stamps the text with the time and keeps the line. True when the lines are due to be
    // written: the 15th line since the last attempt, or a "Program Termination" text.
    bool add(const QString& text, const QDateTime& at);
    // An attempt to write the lines starts the count towards the next one.
    void restartCount() { m_linesSinceAttempt = 0; }

    // Every waiting line, in order, as one block.
    QByteArray block() const;
    // How many of the first bytesWritten bytes of the block hold whole lines.
    qsizetype completeLineBytes(qsizetype bytesWritten) const;
    // Takes the lines that the first bytes of the block hold off the buffer.
    void dropLines(qsizetype bytes);
    void clear() { m_lines.clear(); }

    bool isEmpty() const { return m_lines.empty(); }
    int size() const { return static_cast<int>(m_lines.size()); }
    // Every line added since the buffer was made, written or not.
    std::int64_t linesAdded() const { return m_linesAdded; }

private:
    std::deque<QByteArray> m_lines;
    int m_linesSinceAttempt = 0;
    std::int64_t m_linesAdded = 0;
};

} // namespace quindle
