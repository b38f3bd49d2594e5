#include "LogFileReader.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QProcess>

namespace quindle::test {

namespace {

// Prints one line per record, each field as the hex digits of its bytes, so that any byte
// of a file name comes back unchanged.
const char* csvScript = R"(
import csv, sys
with open(sys.argv[1], encoding='utf-8', errors='surrogateescape', newline='') as f:
    for row in csv.reader(f, strict=True):
        print(' '.join('x' + field.encode('utf-8', 'surrogateescape').hex() for field in row))
)";

} // namespace

std::vector<QStringList> readCsvRecords(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(csvScript),
                                             QString::fromLocal8Bit(encodeFileName(path))});
    python.waitForFinished(30'000);
    std::vector<QStringList> records;
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0)
        return records;
    const QList<QByteArray> lines = python.readAllStandardOutput().split('\n');
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        QStringList fields;
        for (const QByteArray& field : line.split(' '))
            fields.append(decodeFileName(QByteArray::fromHex(field.mid(1))));
        records.push_back(fields);
    }
    return records;
}

QStringList readRawLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = decodeFileName(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace quindle::test
