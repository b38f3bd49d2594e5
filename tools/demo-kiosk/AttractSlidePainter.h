#pragma once

#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QImage>
#include <QSize>

namespace quindle::demo {

// Draws the full-screen slides of the attract show: a featured piece in a spotlight, a line
// about it, and the invitation to touch the screen.
class AttractSlidePainter
{
public:
    static QImage slide(int index, const QSize& screen, const ProductCatalogue& catalogue);
};

} // namespace quindle::demo
