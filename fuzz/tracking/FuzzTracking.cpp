// Feeds arbitrary event texts (any bytes, as file names bring them) and clock steps to the
// tracking log. Whatever the texts and however the days and months turn, every line that
// was logged must be in the files afterwards, in order, whole, a valid two-field CSV record
// whose first field gives back the text's exact bytes and whose second the time it was
// logged at.

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "tracking/TrackingLog.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

class SteppedClock final : public quindle::Clock
{
public:
    QDateTime now() const override { return m_now; }
    std::chrono::milliseconds monotonic() const override { return {}; }
    void step(std::int64_t seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now{QDate(2026, 12, 31), QTime(23, 58, 0)};
};

struct Record
{
    QByteArray event;
    QByteArray stamp;
};

// Reads CSV records of two quoted fields, each ended by CR LF. Nothing when the bytes are
// not exactly that.
std::optional<QList<Record>> parseRecords(const QByteArray& bytes)
{
    QList<Record> records;
    qsizetype at = 0;
    const auto quoted = [&](QByteArray& field) {
        if (at >= bytes.size() || bytes[at] != '"')
            return false;
        ++at;
        while (at < bytes.size()) {
            if (bytes[at] != '"') {
                field += bytes[at++];
                continue;
            }
            if (at + 1 < bytes.size() && bytes[at + 1] == '"') {
                field += '"';
                at += 2;
                continue;
            }
            ++at;
            return true;
        }
        return false;
    };
    while (at < bytes.size()) {
        Record record;
        if (!quoted(record.event) || at >= bytes.size() || bytes[at++] != ',' || !quoted(record.stamp))
            return std::nullopt;
        if (bytes.mid(at, 2) != "\r\n")
            return std::nullopt;
        at += 2;
        records.append(std::move(record));
    }
    return records;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where the system has it: every flush is synchronised to the medium.
    static const QTemporaryDir programFolder(QDir(QStringLiteral("/dev/shm")).exists()
                                                 ? QStringLiteral("/dev/shm/quindle-fuzz-XXXXXX")
                                                 : QDir::tempPath() + QStringLiteral("/quindle-fuzz-XXXXXX"));
    const QString logFolder = programFolder.path() + QStringLiteral("/log files");
    QDir(logFolder).removeRecursively();
    if (size == 0)
        return 0;

    const auto mode = data[0] % 2 == 0 ? quindle::TrackingMode::Daily : quindle::TrackingMode::Monthly;
    SteppedClock clock;
    quindle::TrackingLog log(clock, programFolder.path(), mode);
    QList<Record> expected;
    // The rest is a list of steps: an operation byte, a length byte, then that many bytes.
    for (std::size_t at = 1; at + 1 < size;) {
        const std::uint8_t operation = data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        const QByteArray bytes(reinterpret_cast<const char*>(data + at + 2), static_cast<qsizetype>(length));
        at += 2 + length;
        switch (operation % 4) {
        case 0:
        case 1: {
            const QString text = quindle::decodeFileName(bytes);
            // Names are kept as their bytes: what is decoded encodes to the same bytes.
            if (quindle::encodeFileName(text) != bytes)
                std::abort();
            log.logEvent(text);
            expected.append({bytes, clock.now().toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")).toLatin1()});
            break;
        }
        case 2:
            clock.step(static_cast<std::int64_t>(length) * 3607 + operation);
            break;
        default:
            log.flush();
            break;
        }
    }
    if (!log.flush() || log.linesLogged() != expected.size())
        std::abort();

    // The files in the order of their dates: the clock only moves on.
    QList<std::pair<QString, QString>> files;
    for (const QString& name : QDir(logFolder).entryList(QDir::Files)) {
        const QString yearFirst = name.mid(4, 4) + name.left(4);
        files.append({yearFirst, name});
    }
    std::sort(files.begin(), files.end());
    QList<Record> found;
    for (const auto& file : files) {
        const std::optional<QList<Record>> records =
            parseRecords(readAll(logFolder + QLatin1Char('/') + file.second));
        if (!records || records->isEmpty())
            std::abort();
        found.append(*records);
    }
    if (found.size() != expected.size())
        std::abort();
    for (qsizetype i = 0; i < found.size(); ++i) {
        if (found[i].event != expected[i].event || found[i].stamp != expected[i].stamp)
            std::abort();
    }
    return 0;
}
