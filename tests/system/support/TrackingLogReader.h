#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quindle::systemtest {

// Reads the kiosk's tracking logs in "<program folder>/log files" with Python's csv module, so
// that every record is taken as any CSV reader would take it, not as the kiosk meant it.
class TrackingLogReader
{
public:
    explicit TrackingLogReader(const QString& programFolder)
        : m_folder(programFolder + QStringLiteral("/log files"))
    {
    }

    // Every record of every log file, files in name order. Empty when there is no log.
    QList<QStringList> records();
    // The first field of every record.
    QStringList events();
    // The names of the log files.
    QStringList fileNames() const;

    QString problem() const { return m_problem; }

private:
    QString m_folder;
    QString m_problem;
};

} // namespace quindle::systemtest
