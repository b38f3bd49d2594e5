#include "system/support/TrackingLogReader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace quindle::systemtest {

namespace {

// Prints the records of one CSV file as a JSON array of arrays.
const char* const csvToJson = "import csv, json, sys\n"
                              "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                              "    json.dump(list(csv.reader(f, strict=True)), sys.stdout)\n";

} // namespace

QString TrackingLogReader::folder() const
{
    return QDir(m_programFolder).filePath(QStringLiteral("log files"));
}

QStringList TrackingLogReader::fileNames() const
{
    return QDir(folder()).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
}

bool TrackingLogReader::anyFileContains(const QByteArray& text) const
{
    for (const QString& name : fileNames()) {
        QFile file(QDir(folder()).filePath(name));
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text))
            return true;
    }
    return false;
}

QList<QStringList> TrackingLogReader::records()
{
    QList<QStringList> all;
    for (const QString& name : fileNames()) {
        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"), QString::fromLatin1(csvToJson), QDir(folder()).filePath(name)});
        if (!python.waitForFinished(30'000) || python.exitCode() != 0) {
            m_problem = QStringLiteral("python3's csv reader refused %1: %2")
                            .arg(name, QString::fromLocal8Bit(python.readAllStandardError()));
            continue;
        }
        for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
            QStringList fields;
            for (const QJsonValue& field : row.toArray())
                fields << field.toString();
            all << fields;
        }
    }
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
