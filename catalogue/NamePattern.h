#pragma once

#include <QString>
#include <string>

namespace quindle {

// A file-name pattern in which "*" stands for any run of characters and every other
// character stands for itself, letters compared without regard to case.
//
// Names are matched as the bytes the folder gives them: an ASCII name against an ASCII
// pattern is compared byte by byte (the common case, and the one a catalogue scan of
// thousands of files spends its time in); any other name is decoded and case-folded.
class NamePattern
{
public:
    explicit NamePattern(const QString& pattern);

    bool matches(const char* name, size_t length) const;
    bool matches(const QString& name) const;

private:
    QString m_folded;
    std::string m_asciiFolded; // empty unless the pattern is pure ASCII
    bool m_ascii = false;
};

// True when every byte is below 0x80.
bool isAscii(const char* bytes, size_t length);

// Lower-case ASCII letter for an ASCII byte, the byte itself otherwise.
inline char foldAscii(char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + ('a' - 'A')) : byte;
}

} // namespace quindle
