#include "tools/demo-kiosk/AttractSlidePainter.h"

#include "tools/demo-kiosk/DemoPalette.h"
#include "tools/demo-kiosk/ProductPainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace quindle::demo {

namespace {

using P = DemoPalette;

struct Feature
{
    QString headline;
    QString line;
};

Feature featureOf(ProductKind kind)
{
    switch (kind) {
    case ProductKind::Ring:
        return {"Made to be\ntreasured", "Rings set by hand in our own workshop."};
    case ProductKind::Necklace:
        return {"Light that\nfollows you", "Pendants and necklaces for every day and every occasion."};
    case ProductKind::Watch:
        return {"Time,\nbeautifully kept", "Automatic and dress watches, serviced in house."};
    case ProductKind::Bracelet:
        return {"Something new\nevery season", "Bangles, cuffs and tennis bracelets."};
    case ProductKind::Earrings:
        return {"Gifts they will\nremember", "Studs, drops and hoops, beautifully boxed."};
    case ProductKind::Brooch:
        return {"A finishing\ntouch", "Brooches and pins in gold and silver."};
    case ProductKind::Cufflinks:
        return {"Sharp to\nthe last detail", "Cufflinks with enamel and precious stones."};
    }
    return {};
}

} // namespace

QImage AttractSlidePainter::slide(int index, const QSize& screen, const ProductCatalogue& catalogue)
{
    const int category = index % static_cast<int>(catalogue.categories().size());
    const DemoProduct product =
        catalogue.product(category, 1 + index / static_cast<int>(catalogue.categories().size()));
    const Feature feature = featureOf(product.kind);
    const double s = std::min(screen.width() / 1920.0, screen.height() / 1080.0);
    QImage image(screen, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(screen));
    QLinearGradient wall(all.topLeft(), all.bottomRight());
    wall.setColorAt(0.0, QColor(0x16, 0x24, 0x39));
    wall.setColorAt(1.0, QColor(0x0A, 0x12, 0x1E));
    painter.fillRect(all, wall);

    // The spotlight and the piece on the right.
    const QPointF spot(all.width() * 0.70, all.height() * 0.48);
    const double radius = std::min(all.width() * 0.29, all.height() * 0.50);
    QRadialGradient light(spot, radius);
    light.setColorAt(0.0, QColor(0xF6, 0xEF, 0xE2));
    light.setColorAt(0.62, QColor(0xD9, 0xCB, 0xB2));
    light.setColorAt(0.80, QColor(0x6E, 0x66, 0x5A));
    light.setColorAt(1.0, QColor(0x16, 0x22, 0x35, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(spot, radius, radius);
    ProductPainter::paintPiece(
        painter, product,
        QRectF(spot.x() - radius * 0.95, spot.y() - radius * 0.72, radius * 1.9, radius * 1.42));

    const double left = 120 * s;
    painter.setPen(P::gold());
    QFont mark = P::font(P::sans(), 20 * s, true);
    mark.setLetterSpacing(QFont::AbsoluteSpacing, 6 * s);
    painter.setFont(mark);
    painter.drawText(QRectF(left, 140 * s, 900 * s, 40 * s), Qt::AlignLeft | Qt::AlignVCenter,
                     "HALDEN & ROWE");
    painter.fillRect(QRectF(left, 192 * s, 90 * s, std::max(1.0, 2 * s)), P::gold());
    painter.setPen(P::ivory());
    painter.setFont(P::font(P::serif(), 84 * s));
    painter.drawText(QRectF(left, 230 * s, 1000 * s, 260 * s), Qt::AlignLeft | Qt::AlignTop,
                     feature.headline);
    painter.setPen(P::mist());
    painter.setFont(P::font(P::sans(), 26 * s));
    painter.drawText(QRectF(left, 500 * s, 860 * s, 50 * s), Qt::AlignLeft | Qt::AlignVCenter, feature.line);
    painter.setPen(P::goldLight());
    painter.setFont(P::font(P::serif(), 30 * s));
    painter.drawText(QRectF(left, 560 * s, 860 * s, 50 * s), Qt::AlignLeft | Qt::AlignVCenter,
                     product.name + QStringLiteral("  \u00B7  ") + product.price);

    // The invitation, in a gold pill with a touch mark.
    const QString invitation = "Touch the screen to explore";
    const QFont invitationFont = P::font(P::sans(), 30 * s, true);
    const double textWidth = QFontMetricsF(invitationFont).horizontalAdvance(invitation);
    const QRectF pill(left, all.height() - 250 * s, textWidth + 150 * s, 96 * s);
    painter.setPen(Qt::NoPen);
    painter.setBrush(P::gold());
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    const QPointF touch(pill.left() + pill.height() / 2 + 4 * s, pill.center().y());
    painter.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 3; ++ring) {
        painter.setPen(QPen(QColor(0x0F, 0x1A, 0x2A, 220 - ring * 70), std::max(1.0, 3 * s)));
        painter.drawEllipse(touch, (10 + ring * 10) * s, (10 + ring * 10) * s);
    }
    painter.setPen(P::ink());
    painter.setFont(invitationFont);
    painter.drawText(pill.adjusted(pill.height() + 10 * s, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     invitation);
    return image;
}

} // namespace quindle::demo
