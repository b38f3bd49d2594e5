#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace quindle {

// The conversions every statement of the settings file shares. Each gives the value, or
// the first line of the message that tells the owner why the text cannot be used.
template <typename T> struct Converted
{
    T value{};
    QLatin1StringView failure; // empty when the text was read

    bool ok() const { return failure.isEmpty(); }
};

// Number of commas in a statement's value; statements check it before reading a field.
std::int16_t countCommas(QStringView text);

// A decimal number: optional sign, digits with an optional fraction and exponent, blanks
// around it allowed. Nothing else (no words, no hexadecimal, no "inf").
std::optional<double> parseDecimal(QStringView text);

// Rounds to the nearest whole number, a half to the even neighbour.
double roundHalfToEven(double value);

Converted<bool> toBoolean(QStringView text);             // "true"/"false" in any case, or a number
Converted<std::int16_t> toWholeNumber(QStringView text); // rounded, -32768 to 32767
Converted<float> toReal(QStringView text);
Converted<double> toPoints(QStringView text);           // a font size above 0, at most 32767
Converted<std::uint32_t> toColour(QStringView text);    // hexadecimal, lowest byte red
Converted<std::int32_t> toRebootTime(QStringView text); // hours after midnight to seconds

} // namespace quindle
