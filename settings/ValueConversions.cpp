#include "settings/ValueConversions.h"

#include <QByteArray>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quindle {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The scanning below walks pointers rather than indexes: it is the settings reader's
// innermost loop, and the fuzz build would trace every index comparison.
QStringView trimBlanks(QStringView text)
{
    const QChar* start = text.begin();
    const QChar* end = text.end();
    while (start != end && isBlank(*start))
        ++start;
    while (end != start && isBlank(end[-1]))
        --end;
    return QStringView(start, end);
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexDigitValue(QChar c)
{
    const char16_t unit = c.unicode();
    if (unit >= u'0' && unit <= u'9')
        return unit - u'0';
    if (unit >= u'a' && unit <= u'f')
        return unit - u'a' + 10;
    if (unit >= u'A' && unit <= u'F')
        return unit - u'A' + 10;
    return -1;
}

const QChar* skipDigits(const QChar* at, const QChar* end)
{
    while (at != end && isAsciiDigit(*at))
        ++at;
    return at;
}

const QChar* skipSign(const QChar* at, const QChar* end)
{
    return at != end && (*at == QLatin1Char('+') || *at == QLatin1Char('-')) ? at + 1 : at;
}

// Whether the whole text is [sign] digits [. digits] [e [sign] digits] with at least one
// mantissa digit; only ASCII is accepted, so the later byte conversion sees plain text.
bool isDecimalSyntax(QStringView text)
{
    const QChar* end = text.end();
    const QChar* integerStart = skipSign(text.begin(), end);
    const QChar* at = skipDigits(integerStart, end);
    bool mantissaDigits = at != integerStart;
    if (at != end && *at == QLatin1Char('.')) {
        const QChar* fractionStart = at + 1;
        at = skipDigits(fractionStart, end);
        mantissaDigits = mantissaDigits || at != fractionStart;
    }
    if (!mantissaDigits)
        return false;
    if (at != end && (*at == QLatin1Char('e') || *at == QLatin1Char('E'))) {
        const QChar* exponentStart = skipSign(at + 1, end);
        at = skipDigits(exponentStart, end);
        if (at == exponentStart)
            return false;
    }
    return at == end;
}

template <typename T> Converted<T> failed(const char* firstLine)
{
    return Converted<T>{T{}, QLatin1StringView(firstLine)};
}

constexpr const char* notBoolean = "You have a value that cannot be read as true or false:";
constexpr const char* notWholeNumber = "You have a value that cannot be read as a whole number:";
constexpr const char* outsideWholeRange = "You have a whole number outside the range -32768 to 32767:";
constexpr const char* notNumber = "You have a value that cannot be read as a number:";
constexpr const char* notFontSize = "You have a font size that is not a number above 0 and at most 32767:";
constexpr const char* notColour = "You have a value that cannot be read as a hexadecimal colour:";
constexpr const char* notRebootTime = "You have a reboot time that cannot be read as hours after midnight:";

} // namespace

std::int16_t countCommas(QStringView text)
{
    return static_cast<std::int16_t>(std::min<qsizetype>(text.count(QLatin1Char(',')), 32767));
}

std::optional<double> parseDecimal(QStringView text)
{
    const QStringView number = trimBlanks(text);
    if (!isDecimalSyntax(number))
        return std::nullopt;
    // from_chars reads the C locale's form whatever the process locale is, but takes no "+".
    // The syntax lets only ASCII through, one byte a character.
    const QStringView digits = number.startsWith(QLatin1Char('+')) ? number.sliced(1) : number;
    QVarLengthArray<char, 128> bytes;
    for (const QChar character : digits)
        bytes.append(static_cast<char>(character.unicode()));
    double value = 0;
    const auto [end, error] = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    if (error != std::errc() || end != bytes.constData() + bytes.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundHalfToEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

Converted<bool> toBoolean(QStringView text)
{
    const QStringView word = trimBlanks(text);
    if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return {true, {}};
    if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return {false, {}};
    const std::optional<double> number = parseDecimal(word);
    if (!number)
        return failed<bool>(notBoolean);
    return {*number != 0, {}};
}

Converted<std::int16_t> toWholeNumber(QStringView text)
{
    const std::optional<double> number = parseDecimal(text);
    if (!number)
        return failed<std::int16_t>(notWholeNumber);
    const double rounded = roundHalfToEven(*number);
    if (rounded < -32768 || rounded > 32767)
        return failed<std::int16_t>(outsideWholeRange);
    return {static_cast<std::int16_t>(rounded), {}};
}

Converted<float> toReal(QStringView text)
{
    const std::optional<double> number = parseDecimal(text);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max())
        return failed<float>(notNumber);
    return {static_cast<float>(*number), {}};
}

Converted<double> toPoints(QStringView text)
{
    const std::optional<double> number = parseDecimal(text);
    // Fonts are drawn at this size later; a size of nothing or of a wall would only
    // make the caption unreadable or the drawing slow.
    if (!number || *number <= 0 || *number > 32767)
        return failed<double>(notFontSize);
    return {*number, {}};
}

Converted<std::uint32_t> toColour(QStringView text)
{
    const QStringView digits = trimBlanks(text);
    if (digits.isEmpty())
        return failed<std::uint32_t>(notColour);
    std::uint32_t colour = 0;
    int significant = 0;
    for (const QChar c : digits) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return failed<std::uint32_t>(notColour);
        if (colour != 0 || digit != 0)
            ++significant;
        if (significant > 8)
            return failed<std::uint32_t>(notColour);
        colour = colour << 4 | static_cast<std::uint32_t>(digit);
    }
    return {colour, {}};
}

Converted<std::int32_t> toRebootTime(QStringView text)
{
    const std::optional<double> hours = parseDecimal(text);
    if (!hours)
        return failed<std::int32_t>(notNumber);
    const double seconds = roundHalfToEven(*hours * 3600);
    if (seconds < std::numeric_limits<std::int32_t>::min() ||
        seconds > std::numeric_limits<std::int32_t>::max())
        return failed<std::int32_t>(notRebootTime);
    return {static_cast<std::int32_t>(seconds), {}};
}

} // namespace quindle
