// Feeds arbitrary event texts (any bytes, as file names bring them) and clock steps to the
// tracking log's buffer, in memory: it is written out into files kept as byte arrays,
// exactly when the kiosk would write it and to the file it would choose. Whatever the texts
// and however the days and months turn, every line that was logged must be in the files
// afterwards, in order, whole, a valid two-field CSV record whose first field gives back the
// text's exact bytes and whose second the time it was logged at. A text that reads back as
// one of the kiosk's events must be the text that event makes.

#include "platform/FileSystem.h"
#include "tracking/TrackingBuffer.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

// What a line must hold: the text's bytes and the time it was logged at.
struct Expected
{
    QByteArrayView event;
    QDateTime at;
};

// "MM/dd/yyyy HH:mm:ss", as the kiosk's report reads it.
bool isStampOf(QByteArrayView stamp, const QDateTime& at)
{
    const QDate date = at.date();
    const QTime time = at.time();
    std::array<char, 19> text{};
    std::size_t next = 0;
    const auto put = [&](int value, std::size_t width, char after) {
        for (std::size_t digit = width; digit-- > 0; value /= 10)
            text[next + digit] = static_cast<char>('0' + value % 10);
        next += width;
        if (after != 0)
            text[next++] = after;
    };
    put(date.month(), 2, '/');
    put(date.day(), 2, '/');
    put(date.year(), 4, ' ');
    put(time.hour(), 2, ':');
    put(time.minute(), 2, ':');
    put(time.second(), 2, 0);
    return stamp == QByteArrayView(text.data(), static_cast<qsizetype>(text.size()));
}

// Reads one file's CSV records of two quoted fields, each ended by CR LF, and checks each
// against the next expected line. False when the bytes are not exactly such records, or
// when a record is not the line expected.
bool recordsMatch(QByteArrayView bytes, const QList<Expected>& expected, qsizetype& next)
{
    qsizetype at = 0;
    // Compares the quoted field at "at" with the bytes it must give back, quotes undoubled.
    const auto quotedFieldIs = [&](QByteArrayView wanted, bool exact) {
        if (at >= bytes.size() || bytes[at] != '"')
            return false;
        ++at;
        qsizetype matched = 0;
        bool same = true;
        while (true) {
            const qsizetype quote = bytes.indexOf('"', at);
            if (quote < 0)
                return false;
            const QByteArrayView piece = bytes.sliced(at, quote - at);
            same = same && wanted.sliced(matched).startsWith(piece);
            matched += piece.size();
            at = quote + 1;
            if (at >= bytes.size() || bytes[at] != '"')
                return !exact || (same && matched == wanted.size());
            same = same && matched < wanted.size() && wanted[matched] == '"';
            ++matched;
            ++at;
        }
    };
    bool any = false;
    while (at < bytes.size()) {
        if (next >= expected.size())
            return false;
        const Expected& line = expected[next++];
        if (!quotedFieldIs(line.event, true) || at >= bytes.size() || bytes[at++] != ',')
            return false;
        const qsizetype stampStart = at + 1;
        if (!quotedFieldIs({}, false) || !isStampOf(bytes.sliced(stampStart, at - 1 - stampStart), line.at))
            return false;
        if (!bytes.sliced(at).startsWith("\r\n"))
            return false;
        at += 2;
        any = true;
    }
    return any;
}

// The log's files, by name: what a flush appends to each.
class MemoryFiles
{
public:
    void flush(quindle::TrackingBuffer& waiting, quindle::TrackingMode mode, const QDate& today)
    {
        waiting.restartCount();
        if (waiting.isEmpty())
            return;
        const QByteArray block = waiting.block();
        m_files[quindle::TrackingLog::fileNameFor(mode, today)] += block;
        waiting.dropLines(block.size());
    }

    // The files in the order of their dates: the clock only moves on.
    QList<QByteArray> inDateOrder() const
    {
        QList<std::pair<QString, QByteArray>> files;
        for (auto file = m_files.cbegin(); file != m_files.cend(); ++file)
            files.append({file.key().mid(4, 4) + file.key().left(4), file.value()});
        std::sort(files.begin(), files.end());
        QList<QByteArray> contents;
        for (const auto& file : files)
            contents.append(file.second);
        return contents;
    }

private:
    QMap<QString, QByteArray> m_files;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;

    const auto mode = data[0] % 2 == 0 ? quindle::TrackingMode::Daily : quindle::TrackingMode::Monthly;
    // Universal time: the stamps are what is tested, not the time zones of the machine.
    QDateTime now(QDate(2026, 12, 31), QTime(23, 58, 0), Qt::UTC);
    quindle::TrackingBuffer waiting;
    MemoryFiles files;
    QList<Expected> expected;
    expected.reserve(static_cast<qsizetype>(size / 2));
    // The rest is a list of steps: an operation byte, a length byte, then that many bytes.
    for (std::size_t at = 1; at + 1 < size;) {
        const std::uint8_t operation = data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + at + 2),
                                                         static_cast<qsizetype>(length));
        at += 2 + length;
        switch (operation % 4) {
        case 0:
        case 1: {
            // Names are kept as their bytes: the files must give back these very bytes.
            const QString text = quindle::decodeFileName(bytes);
            // A text that reads as one of the kiosk's events is made again from what was read.
            if (const std::optional<quindle::ReadTrackingText> read = quindle::readTrackingText(bytes)) {
                const QString again =
                    read->event == quindle::TrackingEvent::MenuButton
                        ? quindle::menuButtonText(read->menuNumber)
                        : quindle::trackingText(read->event,
                                                quindle::decodeFileName(read->argument.toByteArray()));
                if (quindle::encodeFileName(again) != bytes)
                    std::abort();
            }
            if (waiting.add(text, now))
                files.flush(waiting, mode, now.date());
            expected.append({bytes, now});
            break;
        }
        case 2:
            now = now.addSecs(static_cast<std::int64_t>(length) * 3607 + operation);
            break;
        default:
            files.flush(waiting, mode, now.date());
            break;
        }
    }
    files.flush(waiting, mode, now.date());
    if (!waiting.isEmpty() || waiting.linesAdded() != expected.size())
        std::abort();

    // Every file holds whole records, at least one, and together they are the lines logged.
    qsizetype next = 0;
    for (const QByteArray& contents : files.inDateOrder()) {
        if (!recordsMatch(contents, expected, next))
            std::abort();
    }
    if (next != expected.size())
        std::abort();
    return 0;
}
