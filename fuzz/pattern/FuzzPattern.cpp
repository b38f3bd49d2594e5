// Feeds arbitrary patterns and names (any bytes, as folders give them) to the listing's
// pattern match. The fast byte-wise match of ASCII names must agree with the match of the
// decoded, case-folded name, and both with a plain dynamic-programming reference of "*"
// against case-folded text.

#include "catalogue/NamePattern.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// matched[i][j]: the first i units of the pattern match the first j of the name.
bool referenceMatch(const QString& pattern, const QString& name)
{
    const QString p = pattern.toCaseFolded();
    const QString n = name.toCaseFolded();
    const auto columns = static_cast<size_t>(n.size()) + 1;
    std::vector<char> previous(columns, 0);
    std::vector<char> current(columns, 0);
    previous[0] = 1;
    for (qsizetype i = 1; i <= p.size(); ++i) {
        const bool star = p[i - 1] == QLatin1Char('*');
        current[0] = star && previous[0];
        for (qsizetype j = 1; j <= n.size(); ++j) {
            const auto at = static_cast<size_t>(j);
            current[at] =
                star ? (previous[at] || current[at - 1]) : (previous[at - 1] && p[i - 1] == n[j - 1]);
        }
        std::swap(previous, current);
    }
    return previous[columns - 1] != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says how many of the following bytes are the pattern; the rest is the name.
    const std::size_t patternLength = std::min<std::size_t>(data[0], size - 1);
    const QByteArray patternBytes(reinterpret_cast<const char*>(data + 1),
                                  static_cast<qsizetype>(patternLength));
    const QByteArray nameBytes(reinterpret_cast<const char*>(data + 1 + patternLength),
                               static_cast<qsizetype>(size - 1 - patternLength));
    const QString pattern = quindle::decodeFileName(patternBytes);
    const QString name = quindle::decodeFileName(nameBytes);

    const quindle::NamePattern compiled(pattern);
    const bool asBytes = compiled.matches(nameBytes.constData(), static_cast<size_t>(nameBytes.size()));
    const bool asText = compiled.matches(name);
    if (asBytes != asText)
        std::abort();
    if (asText != referenceMatch(pattern, name))
        std::abort();
    return 0;
}
