#include "tracking/TrackingLog.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quindle {

namespace {

// Writes the number in decimal, zeros in front up to width digits, and returns the end.
// A kiosk logs one line per press: a line's stamp is written digit by digit, without
// temporaries.
char* putPadded(char* out, int value, int width)
{
    if (value < 0)
        *out++ = '-';
    auto magnitude = value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    std::array<char, 10> reversed{};
    int count = 0;
    do {
        reversed[static_cast<std::size_t>(count++)] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int missing = width - count; missing > 0; --missing)
        *out++ = '0';
    while (count > 0)
        *out++ = reversed[static_cast<std::size_t>(--count)];
    return out;
}

// A part of a date or time below 100, in two digits.
char* putTwoDigits(char* out, int value)
{
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

// A year in four digits, or more when it has more.
char* putYear(char* out, int year)
{
    if (year < 0 || year > 9999)
        return putPadded(out, year, 4);
    return putTwoDigits(putTwoDigits(out, year / 100), year % 100);
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
    if (m_waiting.add(text, m_clock.now()))
        flush();
}

bool TrackingLog::flush()
{
    // Counted from every attempt, so a dead disk is tried once per 15 events, as a
    // working one is written.
    m_waiting.restartCount();
    if (m_mode == TrackingMode::None || m_waiting.isEmpty())
        return m_waiting.isEmpty();
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

    const QByteArray block = m_waiting.block();
    const qsizetype written = writeAll(fd, block);
    if (written == block.size() && syncToMedium(fd)) {
        m_waiting.clear();
        return true;
    }

    // After a failed sync nothing written this time is known to be on the medium.
    const qsizetype kept = written == block.size() ? 0 : m_waiting.completeLineBytes(written);
    if (regularFile)
        static_cast<void>(::ftruncate(fd, sizeBefore + kept));
    m_waiting.dropLines(kept);
    return false;
}

QString TrackingLog::logFolder() const
{
    return resolveCaseless(m_programFolder, QStringLiteral("log files"));
}

QByteArray TrackingLog::formatLine(const QString& text, const QDateTime& at)
{
    QByteArray line;
    line.reserve(text.size() * 3 + 32);
    line += '"';
    // Doubled in the bytes: in UTF-8 no byte of another character is a quote, and the bytes
    // a name keeps as they were are all above ASCII.
    if (text.contains(QLatin1Char('"')))
        line += encodeFileName(text).replace("\"", "\"\"");
    else
        appendFileName(line, text);
    line += "\",\"";
    const QDate date = at.date();
    const QTime time = at.time();
    std::array<char, 64> stamp{};
    char* out = putTwoDigits(stamp.data(), date.month());
    *out++ = '/';
    out = putTwoDigits(out, date.day());
    *out++ = '/';
    out = putYear(out, date.year());
    *out++ = ' ';
    out = putTwoDigits(out, time.hour());
    *out++ = ':';
    out = putTwoDigits(out, time.minute());
    *out++ = ':';
    out = putTwoDigits(out, time.second());
    line.append(stamp.data(), out - stamp.data());
    line += '"';
    return line;
}

QString TrackingLog::fileNameFor(TrackingMode mode, const QDate& date)
{
    std::array<char, 64> name{};
    char* out = putTwoDigits(name.data(), date.month());
    out = putTwoDigits(out, mode == TrackingMode::Daily ? date.day() : 1);
    out = putYear(out, date.year());
    out = std::copy_n(".csv", 4, out);
    return QString::fromLatin1(name.data(), out - name.data());
}

} // namespace quindle
