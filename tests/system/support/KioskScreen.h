#pragma once

#include "system/support/SystemKiosk.h"
#include "system/support/XServer.h"

namespace quindle::systemtest {

// What the kiosk's screen shows, read off its pixels and compared with the picture files the kiosk
// was given: which page of thumbnails, which detail picture, whether the keyboard or a slide is up.
class KioskScreen
{
public:
    KioskScreen(XServer& server, const SystemKiosk& kiosk) : m_server(server), m_kiosk(kiosk) {}

    // Every slot shows the thumbnail of its picture of the list from pageStart on, and the slots
    // past the list's end show the bare backdrop.
    bool showsPage(const QStringList& list, int pageStart);
    bool showsDetail(const QString& picture) { return shows(m_kiosk.detailFrame(), picture); }
    // The close button's face tells whether the detail view is open.
    bool detailClosed() { return showsFace(m_kiosk.closeButton(), "-close.jpg"); }
    bool detailOpen() { return showsFace(m_kiosk.closeButton(), "close.jpg"); }
    bool keyboardShown() { return showsFace(m_kiosk.keyPicture(), "keyboard.jpg"); }
    bool noResultsShown() { return showsFace(m_kiosk.keyPicture(), "noResults.jpg"); }
    bool printButtonEnabled() { return showsFace(m_kiosk.printButton(), "print.jpg"); }
    // The slide covers the window, and the screen is nearer to it than to the other slide (slides
    // differ in few pixels).
    bool showsSlide(const QString& slide, const QString& otherSlide);

private:
    // How far the area is from showing the picture file the way the kiosk's picture controls do it
    // (proportions kept, never enlarged, centred): the mean difference of the colour channels over
    // blocks of 8 by 8 pixels. Only the rows from the top down to keepHeight of the area are
    // compared (-1: all), so that a caption over its foot is left out.
    double pictureDifference(const QRect& area, const QString& file, int keepHeight = -1);
    double difference(const QRect& area, const QImage& expected);
    bool shows(const QRect& area, const QString& file) { return pictureDifference(area, file) < tolerance; }
    bool showsFace(const QRect& area, const char* face)
    {
        return shows(area, m_kiosk.interfacePicture(QLatin1String(face)));
    }

    // The mean difference of the colour channels (0 to 255) below which a picture counts as shown.
    static constexpr double tolerance = 14.0;
    XServer& m_server;
    const SystemKiosk& m_kiosk;
};

} // namespace quindle::systemtest
