#include "tracking/TrackingBuffer.h"

#include "platform/FileSystem.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

#include <utility>

namespace quindle {

namespace {

const QByteArray lineEnd = QByteArrayLiteral("\r\n");

} // namespace

bool TrackingBuffer::add(const QString& text, const QDateTime& at)
{
    QByteArray line = TrackingLog::formatLine(text, at);
    line += lineEnd;
    m_lines.push_back(std::move(line));
    ++m_linesAdded;
    while (m_lines.size() > static_cast<size_t>(maximumKeptLines))
        m_lines.pop_front();
    ++m_linesSinceAttempt;
    return m_linesSinceAttempt >= linesPerFlush || isTerminationText(text);
}

QByteArray TrackingBuffer::block() const
{
    qsizetype size = 0;
    for (const QByteArray& line : m_lines)
        size += line.size();
    QByteArray block;
    block.reserve(size);
    for (const QByteArray& line : m_lines)
        block += line;
    return block;
}

qsizetype TrackingBuffer::completeLineBytes(qsizetype bytesWritten) const
{
    qsizetype complete = 0;
    for (const QByteArray& line : m_lines) {
        if (complete + line.size() > bytesWritten)
            break;
        complete += line.size();
    }
    return complete;
}

void TrackingBuffer::dropLines(qsizetype bytes)
{
    while (!m_lines.empty() && bytes >= m_lines.front().size()) {
        bytes -= m_lines.front().size();
        m_lines.pop_front();
    }
}

} // namespace quindle
