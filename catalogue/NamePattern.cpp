#include "catalogue/NamePattern.h"

#include "platform/FileSystem.h"

namespace quindle {

namespace {

// Wildcard match with "*" only, in linear time for the usual one- or two-star patterns:
// on a mismatch the last star takes one more character and the rest is tried again.
template <typename Unit, typename Fold>
bool globMatch(const Unit* pattern, size_t patternLength, const Unit* name, size_t nameLength, Fold fold)
{
    constexpr size_t noStar = static_cast<size_t>(-1);
    size_t p = 0;
    size_t n = 0;
    size_t star = noStar;
    size_t resume = 0;
    while (n < nameLength) {
        if (p < patternLength && pattern[p] == Unit('*')) {
            star = p++;
            resume = n;
            continue;
        }
        if (p < patternLength && pattern[p] == fold(name[n])) {
            ++p;
            ++n;
            continue;
        }
        if (star == noStar)
            return false;
        p = star + 1;
        n = ++resume;
    }
    while (p < patternLength && pattern[p] == Unit('*'))
        ++p;
    return p == patternLength;
}

} // namespace

bool isAscii(const char* bytes, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    }
    return true;
}

NamePattern::NamePattern(const QString& pattern) : m_folded(pattern.toCaseFolded())
{
    const QByteArray bytes = encodeFileName(pattern);
    m_ascii = isAscii(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!m_ascii)
        return;
    m_asciiFolded.reserve(static_cast<size_t>(bytes.size()));
    for (const char byte : bytes)
        m_asciiFolded.push_back(foldAscii(byte));
}

bool NamePattern::matches(const char* name, size_t length) const
{
    if (m_ascii && isAscii(name, length))
        return globMatch(m_asciiFolded.data(), m_asciiFolded.size(), name, length, foldAscii);
    return matches(decodeFileName(QByteArray(name, static_cast<qsizetype>(length))));
}

bool NamePattern::matches(const QString& name) const
{
    const QString folded = name.toCaseFolded();
    const auto same = [](char16_t unit) {
        return unit;
    };
    return globMatch(QStringView(m_folded).utf16(), static_cast<size_t>(m_folded.size()),
                     QStringView(folded).utf16(), static_cast<size_t>(folded.size()), same);
}

} // namespace quindle
