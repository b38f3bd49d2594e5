#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quindle::test {

QString TempFolder::write(const QString& relative, const QByteArray& contents) const
{
    const QString path = filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
    return path;
}

QString TempFolder::makeFolder(const QString& relative) const
{
    const QString path = filePath(relative);
    QDir().mkpath(path);
    return path;
}

QByteArray TempFolder::read(const QString& relative) const
{
    QFile file(filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace quindle::test
