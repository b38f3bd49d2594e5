#pragma once

#include <QString>
#include <ostream>

// Readable QStrings in failed expectations. Every test file of this program must see it
// before it compares QStrings, or the generic byte printer may be linked in instead.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
