#include "tools/admin/TrackingLine.h"

#include "platform/FileSystem.h"

namespace quindle::admin {

namespace {

// `","` + "mm/dd/yyyy hh:mm:ss" + `"`: the fixed end of every line.
constexpr qsizetype stampLength = 23;

bool readNumber(QByteArrayView bytes, qsizetype from, qsizetype digits, int& number)
{
    number = 0;
    for (qsizetype i = from; i < from + digits; ++i) {
        const char c = bytes[i];
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
    }
    return true;
}

bool separatorsInPlace(QByteArrayView stamp)
{
    return stamp[0] == '"' && stamp[1] == ',' && stamp[2] == '"' && stamp[5] == '/' && stamp[8] == '/' &&
           stamp[13] == ' ' && stamp[16] == ':' && stamp[19] == ':' && stamp[22] == '"';
}

} // namespace

QByteArray TrackingLine::text() const
{
    QByteArray text = quotedText.toByteArray();
    if (text.contains("\"\""))
        text.replace("\"\"", "\"");
    return text;
}

std::optional<TrackingLine> parseTrackingLine(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.size() < 1 + stampLength || line[0] != '"')
        return std::nullopt;
    const QByteArrayView stamp = line.last(stampLength);
    if (!separatorsInPlace(stamp))
        return std::nullopt;
    TrackingLine parsed;
    if (!readNumber(stamp, 3, 2, parsed.month) || !readNumber(stamp, 6, 2, parsed.day) ||
        !readNumber(stamp, 9, 4, parsed.year) || !readNumber(stamp, 14, 2, parsed.hour) ||
        !readNumber(stamp, 17, 2, parsed.minute) || !readNumber(stamp, 20, 2, parsed.second))
        return std::nullopt;
    if (parsed.hour > 23 || parsed.minute > 59 || parsed.second > 59 ||
        !QDate::isValid(parsed.year, parsed.month, parsed.day))
        return std::nullopt;
    parsed.quotedText = line.sliced(1, line.size() - 1 - stampLength);
    return parsed;
}

QString eventTextToString(const QByteArray& text)
{
    return decodeFileName(text);
}

} // namespace quindle::admin
