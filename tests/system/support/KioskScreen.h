#pragma once

#include "system/support/ScreenCheck.h"
#include "system/support/SystemKiosk.h"

#include <QString>
#include <QStringList>

namespace quindle::systemtest {

// What the kiosk's screen shows, read off its pixels: which page of thumbnails, which detail
// picture, whether the keyboard or a slide is up.
class KioskScreen
{
public:
    KioskScreen(XServer& server, const SystemKiosk& kiosk) : m_check(server), m_kiosk(kiosk) {}

    // Every slot shows the thumbnail of its picture of the list from pageStart on, and the
    // slots past the list's end show the bare backdrop.
    bool showsPage(const QStringList& list, int pageStart);
    bool showsDetail(const QString& picture);
    // The close button is disabled: the detail view is closed.
    bool detailClosed();
    bool detailOpen();
    bool keyboardShown();
    bool noResultsShown();
    // The slide covers the window, and the screen is nearer to it than to the other slide
    // (slides differ in few pixels).
    bool showsSlide(const QString& slide, const QString& otherSlide);
    bool printButtonEnabled();

    ScreenCheck& check() { return m_check; }

private:
    ScreenCheck m_check;
    const SystemKiosk& m_kiosk;
};

} // namespace quindle::systemtest
