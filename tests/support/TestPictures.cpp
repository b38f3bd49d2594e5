#include "support/TempFolder.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

namespace quindle::test {

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
