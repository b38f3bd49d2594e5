#include "tracking/TrackingLog.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quindle {

namespace {

const QString terminationText = QStringLiteral("Program Termination");
const QByteArray lineEnd = QByteArrayLiteral("\r\n");

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

QString fourDigits(int value)
{
    return QString::number(value).rightJustified(4, QLatin1Char('0'));
}

// Writes the whole block, resuming after short writes. Returns the bytes written.
qsizetype writeAll(int fd, const QByteArray& block)
{
    qsizetype done = 0;
    while (done < block.size()) {
        const ssize_t written =
            ::write(fd, block.constData() + done, static_cast<size_t>(block.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += written;
    }
    return done;
}

// Makes sure the written lines reached the medium: a full disk or a failing card may only
// report at this point. Devices that cannot be synchronised say EINVAL, which is no fault.
bool syncToMedium(int fd)
{
    while (::fdatasync(fd) != 0) {
        if (errno == EINTR)
            continue;
        return errno == EINVAL;
    }
    return true;
}

} // namespace

TrackingLog::TrackingLog(const Clock& clock, QString programFolder, TrackingMode mode)
    : m_clock(clock), m_programFolder(std::move(programFolder)), m_mode(mode)
{
}

void TrackingLog::logEvent(const QString& text)
{
    emit eventLogged(text);
    if (m_mode == TrackingMode::None)
        return;
    m_waiting.push_back(encodeFileName(formatLine(text, m_clock.now())) + lineEnd);
    ++m_linesLogged;
    while (m_waiting.size() > static_cast<size_t>(maximumKeptLines))
        m_waiting.pop_front();
    ++m_linesSinceFlush;
    if (m_linesSinceFlush >= linesPerFlush || text.contains(terminationText, Qt::CaseInsensitive))
        flush();
}

bool TrackingLog::flush()
{
    // Counted from every attempt, so a dead disk is tried once per 15 events, as a
    // working one is written.
    m_linesSinceFlush = 0;
    if (m_mode == TrackingMode::None || m_waiting.empty())
        return m_waiting.empty();
    const bool written = appendWaitingLines();
    if (!written)
        ++m_failedWrites;
    return written;
}

bool TrackingLog::appendWaitingLines()
{
    const QString folder = logFolder();
    if (!folderExists(folder))
        ::mkdir(encodeFileName(folder).constData(), 0755);
    const QString path = resolveCaseless(folder, fileNameFor(m_mode, m_clock.now().date()));
    const int fd = ::open(encodeFileName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = writeWaitingLines(fd);
    ::close(fd);
    return written;
}

// Appends the waiting lines in one write. On any failure the file is cut back to its
// last complete line, and only the lines that stayed in it are taken off the buffer.
bool TrackingLog::writeWaitingLines(int fd)
{
    struct stat info
    {
    };
    const bool regularFile = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const off_t sizeBefore = info.st_size;

    QByteArray block;
    for (const QByteArray& line : m_waiting)
        block += line;
    const qsizetype written = writeAll(fd, block);
    if (written == block.size() && syncToMedium(fd)) {
        m_waiting.clear();
        return true;
    }

    // After a failed sync nothing written this time is known to be on the medium.
    const qsizetype kept = written == block.size() ? 0 : completeLineBytes(written);
    if (regularFile)
        static_cast<void>(::ftruncate(fd, sizeBefore + kept));
    dropLines(kept);
    return false;
}

qsizetype TrackingLog::completeLineBytes(qsizetype bytesWritten) const
{
    qsizetype complete = 0;
    for (const QByteArray& line : m_waiting) {
        if (complete + line.size() > bytesWritten)
            break;
        complete += line.size();
    }
    return complete;
}

void TrackingLog::dropLines(qsizetype bytes)
{
    while (!m_waiting.empty() && bytes >= m_waiting.front().size()) {
        bytes -= m_waiting.front().size();
        m_waiting.pop_front();
    }
}

QString TrackingLog::logFolder() const
{
    return resolveCaseless(m_programFolder, QStringLiteral("log files"));
}

QString TrackingLog::formatLine(const QString& text, const QDateTime& at)
{
    const QDate date = at.date();
    const QTime time = at.time();
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1String("\",\"") + twoDigits(date.month()) + QLatin1Char('/') +
           twoDigits(date.day()) + QLatin1Char('/') + fourDigits(date.year()) + QLatin1Char(' ') +
           twoDigits(time.hour()) + QLatin1Char(':') + twoDigits(time.minute()) + QLatin1Char(':') +
           twoDigits(time.second()) + QLatin1Char('"');
}

QString TrackingLog::fileNameFor(TrackingMode mode, const QDate& date)
{
    const QString day = mode == TrackingMode::Daily ? twoDigits(date.day()) : QStringLiteral("01");
    return twoDigits(date.month()) + day + fourDigits(date.year()) + QStringLiteral(".csv");
}

} // namespace quindle
