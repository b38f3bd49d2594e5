#include "settings/SettingsText.h"

#include "platform/FileSystem.h"

#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <unistd.h>

namespace quindle {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; the five bytes it leaves
// undefined keep their Latin-1 control characters, as Windows itself maps them.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every byte's character, so that decoding is one lookup a byte.
constexpr std::array<char16_t, 256> windows1252 = [] {
    std::array<char16_t, 256> table{};
    for (unsigned value = 0; value < table.size(); ++value)
        table[value] = value >= 0x80 && value <= 0x9F ? windows1252High[value - 0x80] : char16_t(value);
    return table;
}();

QString decodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char byte : bytes)
        *out++ = windows1252[static_cast<unsigned char>(byte)];
    return text;
}

constexpr qsizetype largestSettingsFile = 16 * 1024 * 1024;

std::optional<QByteArray> readToEnd(int descriptor)
{
    QByteArray contents;
    std::array<char, 65536> chunk{};
    while (true) {
        const ssize_t count = ::read(descriptor, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count == 0)
            return contents;
        if (count < 0 || contents.size() + count > largestSettingsFile)
            return std::nullopt;
        contents.append(chunk.data(), count);
    }
}

} // namespace

QString decodeSettingsText(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

QStringView takeSettingsLine(QStringView& text)
{
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    QStringView line = end < 0 ? text : text.first(end);
    text = end < 0 ? QStringView() : text.sliced(end + 1);
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}

QStringList splitSettingsLines(const QString& text)
{
    QStringList lines;
    for (QStringView rest = text; !rest.isEmpty();)
        lines.append(takeSettingsLine(rest).toString());
    return lines;
}

QStringView trimmedOfSpaces(QStringView text)
{
    const QChar* start = text.begin();
    const QChar* end = text.end();
    while (start != end && *start == QLatin1Char(' '))
        ++start;
    while (end != start && end[-1] == QLatin1Char(' '))
        --end;
    return QStringView(start, end);
}

QString trimSpaces(QStringView text)
{
    return trimmedOfSpaces(text).toString();
}

QStringView firstCharacterView(QStringView text, int count)
{
    // Every character takes at least one code unit, so a text no longer than count is whole.
    if (text.size() <= count)
        return text;
    qsizetype units = 0;
    for (int kept = 0; kept < count && units < text.size(); ++kept) {
        const bool pair =
            text[units].isHighSurrogate() && units + 1 < text.size() && text[units + 1].isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

QString firstCharacters(QStringView text, int count)
{
    return firstCharacterView(text, count).toString();
}

QString withForwardSlashes(QString name)
{
    return name.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

std::optional<QByteArray> readSettingsFile(const QString& path)
{
    const int descriptor = openForReading(path);
    if (descriptor < 0)
        return std::nullopt;
    std::optional<QByteArray> contents = readToEnd(descriptor);
    ::close(descriptor);
    return contents;
}

} // namespace quindle
