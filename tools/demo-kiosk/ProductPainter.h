#pragma once

#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QImage>
#include <QRectF>

class QPainter;

namespace quindle::demo {

// Draws a product as a shop would photograph it: the piece with its highlights and shadow on a
// soft studio background, and a label band with the product's name, material and price.
class ProductPainter
{
public:
    static QImage photograph(const DemoProduct& product, const QSize& size);
    // The piece alone, drawn into area (a 4:3 box, centred when area has other proportions).
    static void paintPiece(QPainter& painter, const DemoProduct& product, const QRectF& area);
};

} // namespace quindle::demo
