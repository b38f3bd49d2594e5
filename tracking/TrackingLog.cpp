#include "tracking/TrackingLog.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quindle {

namespace {

// The number in decimal, zeros in front up to width digits. A kiosk logs one line per
// press, so a line is built in one string without temporaries.
void appendPadded(QString& text, int value, int width)
{
    std::array<char, 16> digits{};
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    const auto length = static_cast<qsizetype>(end - digits.data());
    for (qsizetype missing = width - length; missing > 0; --missing)
        text += QLatin1Char('0');
    text += QLatin1StringView(digits.data(), length);
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

QString TrackingLog::formatLine(const QString& text, const QDateTime& at)
{
    const QDate date = at.date();
    const QTime time = at.time();
    QString line;
    line.reserve(text.size() + 32);
    line += QLatin1Char('"');
    if (text.contains(QLatin1Char('"')))
        line += QString(text).replace(QLatin1Char('"'), QLatin1String("\"\""));
    else
        line += text;
    line += QLatin1String("\",\"");
    appendPadded(line, date.month(), 2);
    line += QLatin1Char('/');
    appendPadded(line, date.day(), 2);
    line += QLatin1Char('/');
    appendPadded(line, date.year(), 4);
    line += QLatin1Char(' ');
    appendPadded(line, time.hour(), 2);
    line += QLatin1Char(':');
    appendPadded(line, time.minute(), 2);
    line += QLatin1Char(':');
    appendPadded(line, time.second(), 2);
    line += QLatin1Char('"');
    return line;
}

QString TrackingLog::fileNameFor(TrackingMode mode, const QDate& date)
{
    QString name;
    name.reserve(12);
    appendPadded(name, date.month(), 2);
    appendPadded(name, mode == TrackingMode::Daily ? date.day() : 1, 2);
    appendPadded(name, date.year(), 4);
    name += QLatin1String(".csv");
    return name;
}

} // namespace quindle
