#pragma once

#include "system/support/SystemKiosk.h"
#include "system/support/XServer.h"

#include <QImageReader>

namespace quindle::systemtest {

// What the kiosk's screen shows, read off its pixels and compared with the picture files the kiosk
// was given: which page of thumbnails, which detail picture, whether the keyboard or a slide is up.
class KioskScreen
{
public:
    KioskScreen(XServer& server, const SystemKiosk& kiosk) : m_server(server), m_kiosk(kiosk) {}

    // Every slot shows the thumbnail of its picture of the list from pageStart on, and the slots
    // past the list's end show the bare backdrop.
    bool showsPage(const QStringList& list, int pageStart)
    {
        const QImage backdrop =
            picture(m_kiosk.interfacePicture(QStringLiteral("backdrop.jpg")))
                .scaled(m_kiosk.window().size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int slot = 1; slot <= m_kiosk.slotsPerPage(); ++slot) {
            const QRect area = m_kiosk.slot(slot);
            const qsizetype shown = pageStart + slot - 1;
            const double distance =
                shown < list.size()
                    ? pictureDifference(area, SystemKiosk::thumbnailOf(list.at(shown)),
                                        area.height() - m_kiosk.captionHeight())
                    : difference(area, backdrop.copy(area.translated(-m_kiosk.window().topLeft())));
            if (distance >= tolerance)
                return false;
        }
        return true;
    }
    bool showsDetail(const QString& picture) { return shows(m_kiosk.detailFrame(), picture); }
    // The close button's face tells whether the detail view is open.
    bool detailClosed() { return showsFace(m_kiosk.closeButton(), "-close.jpg"); }
    bool detailOpen() { return showsFace(m_kiosk.closeButton(), "close.jpg"); }
    bool keyboardShown() { return showsFace(m_kiosk.keyPicture(), "keyboard.jpg"); }
    bool noResultsShown() { return showsFace(m_kiosk.keyPicture(), "noResults.jpg"); }
    bool printButtonEnabled() { return showsFace(m_kiosk.printButton(), "print.jpg"); }
    // The slide covers the window, and the screen is nearer to it than to the other slide (slides
    // differ in few pixels).
    bool showsSlide(const QString& slide, const QString& otherSlide)
    {
        const double distance = pictureDifference(m_kiosk.window(), slide);
        return distance < tolerance && distance < pictureDifference(m_kiosk.window(), otherSlide);
    }

private:
    static QImage picture(const QString& file)
    {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        return reader.read().convertToFormat(QImage::Format_RGB32);
    }

    // How far the area is from showing the picture file the way the kiosk's picture controls do it
    // (proportions kept, never enlarged beyond the screen's scale, centred). Only the rows from the
    // top down to keepHeight of the area are compared (-1: all), so that a caption over its foot is
    // left out.
    double pictureDifference(const QRect& area, const QString& file, int keepHeight = -1)
    {
        const QImage expected = picture(file);
        const QSize fitted = expected.size()
                                 .scaled(area.size(), Qt::KeepAspectRatio)
                                 .boundedTo((QSizeF(expected.size()) * m_kiosk.scale()).toSize());
        QRect target(QPoint(0, 0), fitted);
        target.moveCenter(area.center());
        if (keepHeight >= 0)
            target.setBottom(std::min(target.bottom(), area.top() + keepHeight - 1));
        // The picture's edge pixels blend with what lies around it: they are left out.
        const QRect inner = QRect(QPoint(0, 0), target.size()).adjusted(2, 2, -2, -2);
        return difference(
            inner.translated(target.topLeft()),
            expected.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).copy(inner));
    }

    // The mean difference of the colour channels (0 to 255) over blocks of 8 by 8 pixels: both
    // pictures are shrunk to one pixel per block, each the mean of its block.
    double difference(const QRect& area, const QImage& expected)
    {
        const QImage shown = area.isEmpty() ? QImage() : m_server.grab(area);
        if (shown.isNull() || shown.size() != expected.size())
            return 255.0;
        const QSize blocks((area.width() + 7) / 8, (area.height() + 7) / 8);
        const QImage a = shown.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB888);
        const QImage b = expected.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB888);
        double sum = 0;
        for (int y = 0; y < blocks.height(); ++y) {
            for (int i = 0; i < blocks.width() * 3; ++i)
                sum += std::abs(a.constScanLine(y)[i] - b.constScanLine(y)[i]);
        }
        return sum / (3.0 * blocks.width() * blocks.height());
    }

    bool shows(const QRect& area, const QString& file) { return pictureDifference(area, file) < tolerance; }
    bool showsFace(QRect area, const QString& face) { return shows(area, m_kiosk.interfacePicture(face)); }

    // The mean difference below which a picture counts as shown.
    static constexpr double tolerance = 14.0;
    XServer& m_server;
    const SystemKiosk& m_kiosk;
};

} // namespace quindle::systemtest
