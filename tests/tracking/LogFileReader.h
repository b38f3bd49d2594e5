#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace quindle::test {

// The records of a log file as Python's csv module reads them: a real CSV reader, so a
// line that is not a valid two-field record shows up as such. File bytes that are not
// UTF-8 come back as the same lone surrogates that decodeFileName gives.
std::vector<QStringList> readCsvRecords(const QString& path);

// The raw lines of a file split at CR LF, the final empty piece dropped.
QStringList readRawLines(const QString& path);

} // namespace quindle::test
