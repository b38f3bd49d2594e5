#include "tools/admin/LogFileSelection.h"

#include "catalogue/FolderListing.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace quindle::admin {

namespace {

bool monthMeetsRange(QDate firstOfMonth, QDate from, QDate to)
{
    const QDate lastOfMonth = firstOfMonth.addMonths(1).addDays(-1);
    return (!from.isValid() || lastOfMonth >= from) && (!to.isValid() || firstOfMonth <= to);
}

bool dayNearRange(QDate day, QDate from, QDate to)
{
    return (!from.isValid() || day >= from.addDays(-1)) && (!to.isValid() || day <= to.addDays(1));
}

} // namespace

QDate logFileDate(const QString& fileName)
{
    if (fileName.size() != 12 || !fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return {};
    for (int i = 0; i < 8; ++i) {
        if (!fileName.at(i).isDigit() || fileName.at(i).unicode() > '9')
            return {};
    }
    return QDate(fileName.mid(4, 4).toInt(), fileName.mid(0, 2).toInt(), fileName.mid(2, 2).toInt());
}

QList<LogFile> selectLogFiles(const QString& logFolder, QDate from, QDate to)
{
    QList<LogFile> files;
    for (const QString& name : FolderListing::listFiles(logFolder, QStringLiteral("*.csv"))) {
        const QDate date = logFileDate(name);
        if (!date.isValid())
            continue;
        const bool wanted =
            dayNearRange(date, from, to) || (date.day() == 1 && monthMeetsRange(date, from, to));
        if (wanted)
            files.push_back(LogFile{joinPath(logFolder, name), date});
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const LogFile& a, const LogFile& b) { return a.date < b.date; });
    return files;
}

} // namespace quindle::admin
