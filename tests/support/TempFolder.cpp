#include "support/TempFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace quindle::test {

TempFolder::TempFolder()
{
    m_dir.setAutoRemove(true);
}

QString TempFolder::filePath(const QString& relative) const
{
    return m_dir.filePath(relative);
}

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
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray jpegBytes(int width, int height, quint32 rgb)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(rgb));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

} // namespace quindle::test
