#include "system/support/KioskScreen.h"

#include <QImageReader>
#include <cmath>

namespace quindle::systemtest {

namespace {

QImage readPicture(const QString& file)
{
    QImageReader reader(file);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

} // namespace

bool KioskScreen::showsPage(const QStringList& list, int pageStart)
{
    const QImage backdrop = readPicture(m_kiosk.interfacePicture(QStringLiteral("backdrop.jpg")));
    for (int slot = 1; slot <= m_kiosk.slotsPerPage(); ++slot) {
        const QRect area = m_kiosk.slot(slot);
        const qsizetype position = pageStart + slot - 1;
        const double shown = position < list.size()
                                 ? pictureDifference(area, SystemKiosk::thumbnailOf(list.at(position)),
                                                     area.height() - m_kiosk.captionHeight())
                                 : difference(area, backdrop.copy(area.translated(-m_kiosk.windowOrigin())));
        if (shown >= tolerance)
            return false;
    }
    return true;
}

bool KioskScreen::showsSlide(const QString& slide, const QString& otherSlide)
{
    const double distance = pictureDifference(m_kiosk.window(), slide);
    return distance < tolerance && distance < pictureDifference(m_kiosk.window(), otherSlide);
}

// Both pictures are shrunk to one pixel per block of 8 by 8, each the mean of its block.
double KioskScreen::difference(const QRect& area, const QImage& expected)
{
    const QImage shown = area.isEmpty() ? QImage() : m_server.grab(area);
    if (shown.isNull() || shown.size() != expected.size())
        return 255.0;
    const QSize blocks((area.width() + 7) / 8, (area.height() + 7) / 8);
    const auto shrunk = [&](const QImage& image) {
        return image.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB888);
    };
    const QImage a = shrunk(shown);
    const QImage b = shrunk(expected);
    double sum = 0;
    for (int y = 0; y < blocks.height(); ++y) {
        for (int i = 0; i < blocks.width() * 3; ++i)
            sum += std::abs(a.constScanLine(y)[i] - b.constScanLine(y)[i]);
    }
    return sum / (3.0 * blocks.width() * blocks.height());
}

double KioskScreen::pictureDifference(const QRect& area, const QString& file, int keepHeight)
{
    const QImage picture = readPicture(file);
    QSize fitted = picture.size().scaled(area.size(), Qt::KeepAspectRatio).boundedTo(picture.size());
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(area.center());
    if (keepHeight >= 0)
        target.setBottom(std::min(target.bottom(), area.top() + keepHeight - 1));
    const QImage expected = picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The picture's edge pixels blend with what lies around it: they are left out.
    const QRect inner = QRect(QPoint(0, 0), target.size()).adjusted(2, 2, -2, -2);
    return difference(inner.translated(target.topLeft()), expected.copy(inner));
}

} // namespace quindle::systemtest
