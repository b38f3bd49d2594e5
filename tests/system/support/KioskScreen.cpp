#include "system/support/KioskScreen.h"

namespace quindle::systemtest {

bool KioskScreen::showsPage(const QStringList& list, int pageStart)
{
    const QString backdrop = m_kiosk.interfacePicture(QStringLiteral("backdrop.jpg"));
    for (int slot = 1; slot <= m_kiosk.slotsPerPage(); ++slot) {
        const QRect area = m_kiosk.slot(slot);
        const qsizetype position = pageStart + slot - 1;
        const bool shown = position < list.size()
                               ? m_check.showsPicture(area, SystemKiosk::thumbnailOf(list.at(position)),
                                                      area.height() - m_kiosk.captionHeight())
                               : m_check.showsPart(area, backdrop, m_kiosk.windowOrigin());
        if (!shown)
            return false;
    }
    return true;
}

bool KioskScreen::showsDetail(const QString& picture)
{
    return m_check.showsPicture(m_kiosk.detailFrame(), picture);
}

bool KioskScreen::detailClosed()
{
    return m_check.showsPicture(m_kiosk.closeButton(),
                                m_kiosk.interfacePicture(QStringLiteral("-close.jpg")));
}

bool KioskScreen::detailOpen()
{
    return m_check.showsPicture(m_kiosk.closeButton(), m_kiosk.interfacePicture(QStringLiteral("close.jpg")));
}

bool KioskScreen::keyboardShown()
{
    return m_check.showsPicture(m_kiosk.keyPicture(),
                                m_kiosk.interfacePicture(QStringLiteral("keyboard.jpg")));
}

bool KioskScreen::noResultsShown()
{
    return m_check.showsPicture(m_kiosk.keyPicture(),
                                m_kiosk.interfacePicture(QStringLiteral("noResults.jpg")));
}

bool KioskScreen::showsSlide(const QString& slide, const QString& otherSlide)
{
    const double distance = m_check.pictureDifference(m_kiosk.window(), slide);
    return distance < ScreenCheck::tolerance &&
           distance < m_check.pictureDifference(m_kiosk.window(), otherSlide);
}

bool KioskScreen::printButtonEnabled()
{
    return m_check.showsPicture(m_kiosk.printButton(), m_kiosk.interfacePicture(QStringLiteral("print.jpg")));
}

} // namespace quindle::systemtest
