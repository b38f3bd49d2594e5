#include "screens/PagePrefetch.h"

#include "controls/PictureDecoder.h"
#include "screens/Browsing.h"

#include <QEvent>

namespace quindle {

PagePrefetch::PagePrefetch(const KioskContext& kiosk) : m_kiosk(kiosk) {}

void PagePrefetch::prefetchNeighbours()
{
    const Navigation& navigation = m_kiosk.navigation;
    if (navigation.thumbsPerPage() <= 0 || navigation.detailOpen())
        return;
    // The cache keeps the page shown; with the two beside it, three pages of slot-size pictures.
    m_kiosk.pictures.prefetchInBackground(navigation.neighbourPictures(), thumbnailFileOf, PictureFit::Inside,
                                          m_kiosk.controls.btnThumbnail[1]->size());
}

bool PagePrefetch::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
    case QEvent::KeyPress:
        m_kiosk.pictures.cancelBackground();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quindle
