#include "system/support/TrackingLogReader.h"

#include <QDir>
#include <QProcess>

namespace quindle::systemtest {

namespace {

// Prints the records of the CSV files named as arguments, each field ended by a unit separator
// and each record by a record separator, characters that no event text holds.
const char* const csvToFields =
    "import csv, sys\n"
    "for name in sys.argv[1:]:\n"
    "    for row in csv.reader(open(name, newline='', encoding='utf-8'), strict=True):\n"
    "        sys.stdout.buffer.write((''.join(field + '\\x1f' for field in row) + '\\x1e').encode())\n";

} // namespace

QStringList TrackingLogReader::fileNames() const
{
    return QDir(m_folder).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
}

QList<QStringList> TrackingLogReader::records()
{
    QStringList arguments{QStringLiteral("-c"), QString::fromLatin1(csvToFields)};
    for (const QString& name : fileNames())
        arguments << m_folder + QLatin1Char('/') + name;
    QProcess python;
    python.start(QStringLiteral("python3"), arguments);
    if (!python.waitForFinished(30'000) || python.exitCode() != 0) {
        m_problem = QStringLiteral("python3's csv reader refused the logs: ") +
                    QString::fromLocal8Bit(python.readAllStandardError());
        return {};
    }
    QList<QStringList> all;
    for (const QString& record :
         QString::fromUtf8(python.readAllStandardOutput()).split(u'\x1e', Qt::SkipEmptyParts))
        all << record.chopped(1).split(u'\x1f');
    return all;
}

QStringList TrackingLogReader::events()
{
    QStringList texts;
    for (const QStringList& record : records())
        texts << record.value(0);
    return texts;
}

} // namespace quindle::systemtest
