#pragma once

#include "screens/KioskContext.h"

#include <QObject>

namespace quindle {

// Has the pictures of the pages beside the one shown decoded at the size of the thumbnail
// slots while the kiosk waits for a touch, so that a page turn finds them ready. Any press
// gives the work up at once: it watches the presses that reach the window before any control
// handles them.
class PagePrefetch : public QObject
{
    Q_OBJECT

public:
    explicit PagePrefetch(const KioskContext& kiosk);

    // Called once a page is filled: the work starts, after whatever a previous page left.
    void prefetchNeighbours();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KioskContext m_kiosk;
};

} // namespace quindle
