#include "tools/demo-kiosk/ProductPainter.h"

#include "tools/demo-kiosk/DemoPalette.h"
#include "tools/demo-kiosk/DemoRandom.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <array>

namespace quindle::demo {

namespace {

// Every piece is drawn in a 1200 by 900 design box and scaled to the picture.
constexpr double designWidth = 1200.0;
constexpr double designHeight = 900.0;

struct Metal
{
    QColor dark, mid, light, shine;
};

Metal metalOf(int metal)
{
    switch (metal) {
    case 1:
        return {QColor(0x7E, 0x48, 0x3A), QColor(0xC4, 0x86, 0x6E), QColor(0xEB, 0xBC, 0xA6),
                QColor(0xFF, 0xF1, 0xEA)};
    case 2:
        return {QColor(0x69, 0x70, 0x79), QColor(0xB6, 0xBC, 0xC5), QColor(0xE3, 0xE7, 0xED),
                QColor(0xFF, 0xFF, 0xFF)};
    case 3:
        return {QColor(0x5B, 0x61, 0x69), QColor(0xA6, 0xAC, 0xB4), QColor(0xD8, 0xDD, 0xE3),
                QColor(0xFD, 0xFE, 0xFF)};
    default:
        return {QColor(0x7A, 0x58, 0x20), QColor(0xC7, 0x9E, 0x4A), QColor(0xEB, 0xCF, 0x86),
                QColor(0xFF, 0xF6, 0xDA)};
    }
}

struct Stone
{
    QColor deep, body, light;
};

Stone stoneOf(int gem)
{
    switch (gem) {
    case 1:
        return {QColor(0x0A, 0x17, 0x48), QColor(0x1F, 0x42, 0xA0), QColor(0x7C, 0xA2, 0xFF)};
    case 2:
        return {QColor(0x45, 0x05, 0x12), QColor(0xA8, 0x16, 0x33), QColor(0xFF, 0x74, 0x8A)};
    case 3:
        return {QColor(0x05, 0x38, 0x25), QColor(0x17, 0x86, 0x5C), QColor(0x74, 0xE4, 0xB2)};
    case 4:
        return {QColor(0x2A, 0x12, 0x4E), QColor(0x6C, 0x40, 0xA8), QColor(0xBC, 0x98, 0xF2)};
    case 5:
        return {QColor(0x10, 0x4C, 0x6C), QColor(0x3A, 0xA2, 0xD2), QColor(0xAE, 0xE8, 0xFF)};
    case 6:
        return {QColor(0xC9, 0xBD, 0xAA), QColor(0xF1, 0xEB, 0xE1), QColor(0xFF, 0xFF, 0xFF)};
    default:
        return {QColor(0x55, 0x6B, 0x88), QColor(0xBF, 0xCF, 0xE2), QColor(0xFF, 0xFF, 0xFF)};
    }
}

struct Tone
{
    QColor centre, edge;
};

Tone toneOf(int tone)
{
    switch (tone) {
    case 1:
        return {QColor(0xFB, 0xF2, 0xF0), QColor(0xE3, 0xCD, 0xC8)};
    case 2:
        return {QColor(0xF5, 0xF7, 0xF9), QColor(0xCF, 0xD7, 0xE0)};
    case 3:
        return {QColor(0xF5, 0xF7, 0xF1), QColor(0xD3, 0xDB, 0xCA)};
    default:
        return {QColor(0xFC, 0xF7, 0xEF), QColor(0xE2, 0xD4, 0xBD)};
    }
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// One piece drawn with one painter in design units.
class PieceDrawing
{
public:
    PieceDrawing(QPainter& painter, const DemoProduct& product)
        : m_painter(painter), m_product(product), m_random(product.seed), m_metal(metalOf(product.metal)),
          m_stone(stoneOf(product.gem))
    {
    }

    void draw()
    {
        switch (m_product.kind) {
        case ProductKind::Ring:
            return ring();
        case ProductKind::Necklace:
            return necklace();
        case ProductKind::Watch:
            return watch();
        case ProductKind::Bracelet:
            return bracelet();
        case ProductKind::Earrings:
            return earrings();
        case ProductKind::Brooch:
            return brooch();
        case ProductKind::Cufflinks:
            return cufflinks();
        }
    }

private:
    bool styled(const char* word) const { return m_product.style.contains(QLatin1String(word)); }

    QLinearGradient metalGradient(const QRectF& box, double turn = 0.0) const
    {
        const QPointF centre = box.center();
        const double angle = qDegreesToRadians(35.0 + turn);
        const QPointF reach(std::cos(angle) * box.width() / 2, std::sin(angle) * box.height() / 2);
        QLinearGradient gradient(centre - reach, centre + reach);
        gradient.setColorAt(0.0, m_metal.light);
        gradient.setColorAt(0.18, m_metal.shine);
        gradient.setColorAt(0.36, m_metal.mid);
        gradient.setColorAt(0.62, m_metal.dark);
        gradient.setColorAt(0.80, m_metal.mid);
        gradient.setColorAt(1.0, m_metal.light);
        return gradient;
    }

    void shadow(const QPointF& centre, double rx, double ry, int alpha = 70)
    {
        QRadialGradient gradient(centre, rx);
        gradient.setColorAt(0.0, QColor(40, 30, 20, alpha));
        gradient.setColorAt(1.0, QColor(40, 30, 20, 0));
        m_painter.save();
        m_painter.translate(centre);
        m_painter.scale(1.0, ry / rx);
        m_painter.translate(-centre);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(gradient);
        m_painter.drawEllipse(centre, rx, rx);
        m_painter.restore();
    }

    void sparkle(const QPointF& centre, double size)
    {
        QRadialGradient glow(centre, size);
        glow.setColorAt(0.0, QColor(255, 255, 255, 200));
        glow.setColorAt(1.0, QColor(255, 255, 255, 0));
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(glow);
        m_painter.drawEllipse(centre, size, size);
        QPainterPath star;
        const double thin = size * 0.12;
        star.moveTo(centre + QPointF(0, -size * 1.6));
        star.lineTo(centre + QPointF(thin, -thin));
        star.lineTo(centre + QPointF(size * 1.6, 0));
        star.lineTo(centre + QPointF(thin, thin));
        star.lineTo(centre + QPointF(0, size * 1.6));
        star.lineTo(centre + QPointF(-thin, thin));
        star.lineTo(centre + QPointF(-size * 1.6, 0));
        star.lineTo(centre + QPointF(-thin, -thin));
        star.closeSubpath();
        m_painter.setBrush(QColor(255, 255, 255, 235));
        m_painter.drawPath(star);
    }

    // A round stone seen from above: a table, facets and a spark of light.
    void roundStone(const QPointF& centre, double radius, bool setting = true)
    {
        if (setting) {
            m_painter.setPen(Qt::NoPen);
            m_painter.setBrush(
                metalGradient(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius)));
            m_painter.drawEllipse(centre, radius * 1.14, radius * 1.14);
        }
        if (m_product.gem == 6)
            return pearl(centre, radius);
        QRadialGradient body(centre + QPointF(-radius * 0.3, -radius * 0.35), radius * 1.3);
        body.setColorAt(0.0, m_stone.light);
        body.setColorAt(0.45, m_stone.body);
        body.setColorAt(1.0, m_stone.deep);
        m_painter.setPen(QPen(withAlpha(m_stone.deep, 160), std::max(0.8, radius * 0.03)));
        m_painter.setBrush(body);
        m_painter.drawEllipse(centre, radius, radius);
        QPolygonF table;
        for (int i = 0; i < 8; ++i) {
            const double a = M_PI / 8 + i * M_PI / 4;
            table << centre + QPointF(std::cos(a), std::sin(a)) * radius * 0.52;
        }
        m_painter.setPen(QPen(withAlpha(m_stone.light, 150), std::max(0.6, radius * 0.025)));
        m_painter.setBrush(withAlpha(m_stone.light, 55));
        m_painter.drawPolygon(table);
        for (int i = 0; i < 8; ++i) {
            const double a = M_PI / 8 + i * M_PI / 4;
            m_painter.drawLine(table[i], centre + QPointF(std::cos(a), std::sin(a)) * radius * 0.98);
        }
        sparkle(centre + QPointF(-radius * 0.32, -radius * 0.34), radius * 0.28);
    }

    void pearl(const QPointF& centre, double radius)
    {
        QRadialGradient body(centre + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.35);
        body.setColorAt(0.0, QColor(255, 255, 255));
        body.setColorAt(0.35, m_stone.body);
        body.setColorAt(0.85, m_stone.deep);
        body.setColorAt(1.0, m_stone.deep.darker(115));
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(body);
        m_painter.drawEllipse(centre, radius, radius);
        m_painter.setBrush(QColor(255, 240, 245, 70));
        m_painter.drawEllipse(centre + QPointF(radius * 0.25, radius * 0.3), radius * 0.45, radius * 0.3);
    }

    // A brilliant cut seen from the side, its girdle at girdleY.
    void brilliant(double cx, double girdleY, double width)
    {
        const double half = width / 2;
        const double crown = width * 0.28;
        const double pavilion = width * 0.52;
        QPolygonF top{{cx - half * 0.55, girdleY - crown},
                      {cx + half * 0.55, girdleY - crown},
                      {cx + half, girdleY},
                      {cx - half, girdleY}};
        QLinearGradient crownFill(cx - half, girdleY - crown, cx + half, girdleY);
        crownFill.setColorAt(0.0, m_stone.light);
        crownFill.setColorAt(0.5, m_stone.body);
        crownFill.setColorAt(1.0, m_stone.deep);
        m_painter.setPen(QPen(withAlpha(m_stone.deep, 170), width * 0.012));
        m_painter.setBrush(crownFill);
        m_painter.drawPolygon(top);
        const int facets = 6;
        for (int i = 0; i < facets; ++i) {
            const double x0 = cx - half + i * width / facets;
            QPolygonF facet{{x0, girdleY}, {x0 + width / facets, girdleY}, {cx, girdleY + pavilion}};
            const bool bright = (i % 2) == 0;
            m_painter.setBrush(bright ? m_stone.body.lighter(118) : m_stone.deep);
            if (i == 1 || i == 4)
                m_painter.setBrush(m_stone.light);
            m_painter.drawPolygon(facet);
        }
        m_painter.setPen(QPen(withAlpha(m_stone.light, 170), width * 0.01));
        m_painter.drawLine(QPointF(cx - half * 0.55, girdleY - crown), QPointF(cx - half * 0.2, girdleY));
        m_painter.drawLine(QPointF(cx + half * 0.55, girdleY - crown), QPointF(cx + half * 0.2, girdleY));
        m_painter.drawLine(QPointF(cx, girdleY - crown), QPointF(cx, girdleY));
        sparkle(QPointF(cx - half * 0.3, girdleY - crown * 0.55), width * 0.09);
        sparkle(QPointF(cx + half * 0.35, girdleY + pavilion * 0.25), width * 0.06);
    }

    void teardrop(const QPointF& top, double width, double height)
    {
        if (m_product.gem == 6)
            return pearl(top + QPointF(0, height * 0.55), width * 0.5);
        QPainterPath drop;
        drop.moveTo(top);
        drop.cubicTo(top + QPointF(width * 0.15, height * 0.25), top + QPointF(width * 0.62, height * 0.5),
                     top + QPointF(0, height));
        drop.cubicTo(top + QPointF(-width * 0.62, height * 0.5), top + QPointF(-width * 0.15, height * 0.25),
                     top);
        QRadialGradient body(top + QPointF(-width * 0.15, height * 0.5), width * 0.8);
        body.setColorAt(0.0, m_stone.light);
        body.setColorAt(0.5, m_stone.body);
        body.setColorAt(1.0, m_stone.deep);
        m_painter.setPen(QPen(m_metal.mid, width * 0.05));
        m_painter.setBrush(body);
        m_painter.drawPath(drop);
        m_painter.setPen(QPen(withAlpha(m_stone.light, 140), width * 0.02));
        m_painter.drawLine(top + QPointF(0, height * 0.25), top + QPointF(0, height * 0.92));
        sparkle(top + QPointF(-width * 0.14, height * 0.55), width * 0.14);
    }

    // Ring standing upright, its stone at the top.
    void ring()
    {
        const QPointF centre(600, 420);
        const double outer = 180;
        const double inner = styled("Band") ? 140 : 152;
        shadow(QPointF(600, 612), 260, 34, 90);
        QPainterPath band;
        band.addEllipse(centre, outer, outer);
        band.addEllipse(centre, inner, inner);
        band.setFillRule(Qt::OddEvenFill);
        m_painter.setPen(QPen(withAlpha(m_metal.dark, 200), 2));
        m_painter.setBrush(
            metalGradient(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer)));
        m_painter.drawPath(band);
        // The inside of the band shows as a thin darker crescent at the bottom of the hole.
        QPainterPath hole;
        hole.addEllipse(centre, inner, inner);
        QPainterPath raised;
        raised.addEllipse(centre + QPointF(0, -inner * 0.12), inner, inner * 0.98);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(metalGradient(QRectF(centre.x() - inner, centre.y(), 2 * inner, inner), 180));
        m_painter.drawPath(hole.subtracted(raised));
        m_painter.setPen(QPen(withAlpha(m_metal.shine, 200), 7, Qt::SolidLine, Qt::RoundCap));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawArc(
            QRectF(centre.x() - outer + 10, centre.y() - outer + 10, 2 * outer - 20, 2 * outer - 20),
            110 * 16, 55 * 16);

        if (styled("Band") || styled("Wedding")) {
            m_painter.setPen(QPen(withAlpha(m_metal.dark, 150), 3));
            const double middle = (outer + inner) / 2;
            m_painter.drawEllipse(centre, middle, middle);
            for (int i = 0; i < 5; ++i)
                sparkle(centre + QPointF(std::cos(-2.4 + i * 0.35), std::sin(-2.4 + i * 0.35)) * middle,
                        6 + i % 2 * 3);
            return;
        }
        if (styled("Eternity")) {
            for (int i = 0; i < 15; ++i) {
                const double a = M_PI + i * M_PI / 14;
                roundStone(centre + QPointF(std::cos(a), std::sin(a)) * (outer + inner) / 2, 12, false);
            }
            return;
        }
        const double top = centre.y() - outer;
        // Prongs hold the stone over the band.
        m_painter.setPen(QPen(m_metal.mid, 10, Qt::SolidLine, Qt::RoundCap));
        m_painter.drawLine(QPointF(552, top + 30), QPointF(536, top - 52));
        m_painter.drawLine(QPointF(648, top + 30), QPointF(664, top - 52));
        if (styled("Trilogy")) {
            brilliant(500, top - 28, 92);
            brilliant(700, top - 28, 92);
        }
        if (styled("Halo")) {
            for (int i = 0; i < 12; ++i) {
                const double a = i * M_PI / 6;
                roundStone(QPointF(600, top - 50) + QPointF(std::cos(a) * 92, std::sin(a) * 40), 11, false);
            }
        }
        brilliant(600, top - 40, styled("Trilogy") ? 128 : 156);
        m_painter.setPen(QPen(m_metal.light, 9, Qt::SolidLine, Qt::RoundCap));
        m_painter.drawLine(QPointF(540, top - 46), QPointF(534, top - 66));
        m_painter.drawLine(QPointF(660, top - 46), QPointF(666, top - 66));
    }

    void chainAlong(const QPainterPath& path, bool pearls)
    {
        const double length = path.length();
        const double step = pearls ? 30.0 : 17.0;
        const int count = static_cast<int>(length / step);
        // Shadow first so that it stays behind every link.
        m_painter.setPen(QPen(QColor(60, 40, 20, 28), pearls ? 26 : 10, Qt::SolidLine, Qt::RoundCap));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(path.translated(10, 16));
        for (int i = 0; i <= count; ++i) {
            const double t = path.percentAtLength(i * step);
            const QPointF at = path.pointAtPercent(t);
            if (pearls) {
                pearl(at, 14);
                continue;
            }
            m_painter.save();
            m_painter.translate(at);
            m_painter.rotate(-path.angleAtPercent(t));
            m_painter.setPen(QPen(i % 2 ? m_metal.mid : m_metal.light, 3.2));
            m_painter.setBrush(Qt::NoBrush);
            if (i % 2)
                m_painter.drawEllipse(QPointF(0, 0), 11, 6);
            else
                m_painter.drawLine(QPointF(-10, 0), QPointF(10, 0));
            m_painter.restore();
        }
    }

    void necklace()
    {
        const bool pearls = styled("Pearl");
        const double drop = m_random.real(380, 440);
        QPainterPath chain(QPointF(250, 20));
        chain.cubicTo(QPointF(280, drop + 90), QPointF(920, drop + 90), QPointF(950, 20));
        chainAlong(chain, pearls);
        const QPointF bottom = chain.pointAtPercent(0.5);
        if (pearls) {
            roundStone(bottom + QPointF(0, 30), 30);
            return;
        }
        m_painter.setPen(QPen(m_metal.mid, 6));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawEllipse(bottom + QPointF(0, 14), 10, 16);
        if (styled("Locket") || styled("Medallion")) {
            const QRectF face(bottom.x() - 100, bottom.y() + 28, 200, 244);
            shadow(face.center() + QPointF(14, 26), 100, 110, 50);
            m_painter.setPen(QPen(m_metal.dark, 3));
            m_painter.setBrush(metalGradient(face));
            m_painter.drawEllipse(face);
            m_painter.setPen(QPen(withAlpha(m_metal.dark, 170), 3));
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawEllipse(face.adjusted(16, 16, -16, -16));
            roundStone(face.center(), 30);
            return;
        }
        if (styled("Lariat")) {
            m_painter.setPen(QPen(m_metal.mid, 3));
            m_painter.drawLine(bottom + QPointF(0, 30), bottom + QPointF(0, 110));
            teardrop(bottom + QPointF(0, 110), 110, 170);
            return;
        }
        shadow(bottom + QPointF(18, 160), 100, 120, 45);
        teardrop(bottom + QPointF(0, 28), 160, 250);
    }

    void strap(double top, double bottom, const QColor& leather)
    {
        const QRectF upper(525, top, 150, 250 - top);
        const QRectF lower(525, 590, 150, bottom - 590);
        for (const QRectF& part : {upper, lower}) {
            QLinearGradient fill(part.left(), 0, part.right(), 0);
            fill.setColorAt(0.0, leather.darker(140));
            fill.setColorAt(0.5, leather.lighter(125));
            fill.setColorAt(1.0, leather.darker(140));
            m_painter.setPen(Qt::NoPen);
            m_painter.setBrush(fill);
            m_painter.drawRoundedRect(part, 18, 18);
            m_painter.setPen(QPen(withAlpha(QColor(240, 228, 205), 150), 2, Qt::DashLine));
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawRoundedRect(part.adjusted(10, 6, -10, -6), 12, 12);
        }
    }

    void watch()
    {
        const QPointF centre(600, 420);
        static const std::array<QColor, 5> leathers{QColor(0x5A, 0x36, 0x22), QColor(0x22, 0x22, 0x26),
                                                    QColor(0x1C, 0x2A, 0x44), QColor(0x3E, 0x2A, 0x1E),
                                                    QColor(0x6B, 0x4A, 0x2E)};
        static const std::array<QColor, 5> dials{QColor(0xF7, 0xF5, 0xF0), QColor(0x1C, 0x2E, 0x52),
                                                 QColor(0xE9, 0xDC, 0xC0), QColor(0x20, 0x48, 0x3A),
                                                 QColor(0x1A, 0x1A, 0x1C)};
        const QColor dial = dials[static_cast<size_t>(m_random.between(0, 4))];
        const bool darkDial = dial.lightness() < 128;
        shadow(QPointF(610, 640), 250, 40, 80);
        strap(10, 760, leathers[static_cast<size_t>(m_random.between(0, 4))]);
        // Lugs and crown.
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(metalGradient(QRectF(500, 220, 200, 400)));
        m_painter.drawRoundedRect(QRectF(515, 232, 170, 60), 14, 14);
        m_painter.drawRoundedRect(QRectF(515, 548, 170, 60), 14, 14);
        m_painter.drawRoundedRect(QRectF(765, 398, 46, 44), 8, 8);
        const double caseRadius = 178;
        m_painter.setBrush(metalGradient(QRectF(422, 242, 356, 356)));
        m_painter.setPen(QPen(m_metal.dark, 2));
        m_painter.drawEllipse(centre, caseRadius, caseRadius);
        const bool diver = styled("Diver");
        m_painter.setBrush(diver ? QBrush(QColor(0x15, 0x2A, 0x5C))
                                 : QBrush(metalGradient(QRectF(440, 260, 320, 320), 180)));
        m_painter.drawEllipse(centre, 162, 162);
        if (diver) {
            m_painter.setPen(QPen(QColor(235, 235, 240), 4));
            for (int i = 0; i < 12; ++i) {
                const double a = i * M_PI / 6;
                const QPointF d(std::sin(a), -std::cos(a));
                m_painter.drawLine(centre + d * 150, centre + d * 160);
            }
        }
        QRadialGradient face(centre + QPointF(-40, -50), 200);
        face.setColorAt(0.0, dial.lighter(115));
        face.setColorAt(1.0, dial.darker(115));
        m_painter.setPen(QPen(withAlpha(m_metal.dark, 180), 2));
        m_painter.setBrush(face);
        m_painter.drawEllipse(centre, 142, 142);
        const QColor ink = darkDial ? QColor(0xEE, 0xE6, 0xD2) : QColor(0x1E, 0x24, 0x30);
        for (int i = 0; i < 60; ++i) {
            const double a = i * M_PI / 30;
            const QPointF d(std::sin(a), -std::cos(a));
            const bool hour = i % 5 == 0;
            m_painter.setPen(QPen(hour ? m_metal.mid : withAlpha(ink, 150),
                                  hour ? (i % 15 == 0 ? 9 : 6) : 1.6, Qt::SolidLine, Qt::FlatCap));
            m_painter.drawLine(centre + d * (hour ? 104 : 126), centre + d * 134);
        }
        m_painter.setPen(ink);
        m_painter.setFont(DemoPalette::font(DemoPalette::serif(), 15));
        m_painter.drawText(QRectF(centre.x() - 90, centre.y() - 80, 180, 24), Qt::AlignCenter,
                           "HALDEN & ROWE");
        if (styled("Chronograph")) {
            for (int i = 0; i < 3; ++i) {
                const QPointF sub = centre + QPointF((i - 1) * 56, i == 1 ? 52 : 6);
                m_painter.setPen(QPen(withAlpha(ink, 170), 1.5));
                m_painter.setBrush(withAlpha(dial.darker(125), 200));
                m_painter.drawEllipse(sub, 24, 24);
                m_painter.drawLine(sub, sub + QPointF(0, -18));
            }
        } else if (styled("Moonphase")) {
            m_painter.setPen(Qt::NoPen);
            m_painter.setBrush(QColor(0x13, 0x22, 0x48));
            m_painter.drawChord(QRectF(centre.x() - 44, centre.y() + 26, 88, 88), 0, 180 * 16);
            m_painter.setBrush(m_metal.light);
            m_painter.drawEllipse(QPointF(centre.x() - 8, centre.y() + 52), 14, 14);
        } else {
            m_painter.setFont(DemoPalette::font(DemoPalette::sans(), 12));
            m_painter.setPen(withAlpha(ink, 200));
            m_painter.drawText(QRectF(centre.x() - 80, centre.y() + 56, 160, 20), Qt::AlignCenter,
                               m_product.style.toUpper());
        }
        hand(centre, -60, 78, 9, m_metal.light);
        hand(centre, 60, 118, 7, m_metal.light);
        m_painter.setPen(QPen(QColor(0xC0, 0x4A, 0x3A), 2));
        m_painter.drawLine(centre - QPointF(0, -30), centre + QPointF(std::sin(2.3), -std::cos(2.3)) * 128);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_metal.mid);
        m_painter.drawEllipse(centre, 8, 8);
        // The glass catches the light in its upper left.
        QLinearGradient glass(centre + QPointF(-140, -140), centre);
        glass.setColorAt(0.0, QColor(255, 255, 255, 110));
        glass.setColorAt(1.0, QColor(255, 255, 255, 0));
        m_painter.setBrush(glass);
        m_painter.drawChord(QRectF(centre.x() - 142, centre.y() - 142, 284, 284), 60 * 16, 150 * 16);
    }

    void hand(const QPointF& centre, double degrees, double length, double width, const QColor& colour)
    {
        m_painter.save();
        m_painter.translate(centre);
        m_painter.rotate(degrees);
        QPolygonF shape{{-width / 2, 0}, {0, -length}, {width / 2, 0}, {0, length * 0.15}};
        m_painter.setPen(QPen(m_metal.dark, 1.2));
        m_painter.setBrush(colour);
        m_painter.drawPolygon(shape);
        m_painter.restore();
    }

    // A bangle lying on the table, seen from above at an angle: the top face, the front wall and the
    // far inner wall are separate shapes, so no hole has to be cut into the background.
    void bangle(const QPointF& centre, double rx, double ry, double thickness, double depth)
    {
        QPainterPath outerTop;
        outerTop.addEllipse(centre, rx, ry);
        QPainterPath innerTop;
        innerTop.addEllipse(centre, rx - thickness, ry - thickness * ry / rx);
        QPainterPath outerLow;
        outerLow.addEllipse(centre + QPointF(0, depth), rx, ry);
        QPainterPath innerLow;
        innerLow.addEllipse(centre + QPointF(0, depth), rx - thickness, ry - thickness * ry / rx);
        QPainterPath body = outerTop.united(outerLow);
        body.addRect(QRectF(centre.x() - rx, centre.y(), 2 * rx, depth));
        body = body.simplified();
        const QRectF box(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry + depth);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(metalGradient(box, 60));
        m_painter.drawPath(body.subtracted(outerTop));
        m_painter.setBrush(metalGradient(box, 200));
        m_painter.drawPath(innerTop.subtracted(innerLow));
        m_painter.setPen(QPen(withAlpha(m_metal.dark, 160), 1.5));
        m_painter.setBrush(metalGradient(box));
        m_painter.drawPath(outerTop.subtracted(innerTop));
    }

    void bracelet()
    {
        const QPointF centre(600, 400);
        shadow(QPointF(600, 500), 330, 120, 70);
        if (styled("Tennis") || styled("Link")) {
            QPainterPath loop;
            loop.addEllipse(centre, 270, 140);
            const int count = styled("Tennis") ? 34 : 24;
            for (int i = 0; i < count; ++i) {
                const QPointF at = loop.pointAtPercent((i + 0.5) / count);
                if (styled("Tennis")) {
                    roundStone(at, 15);
                    continue;
                }
                const double angle = loop.angleAtPercent((i + 0.5) / count);
                m_painter.save();
                m_painter.translate(at);
                m_painter.rotate(-angle);
                m_painter.setPen(QPen(m_metal.dark, 2));
                m_painter.setBrush(metalGradient(QRectF(-20, -13, 40, 26)));
                m_painter.drawRoundedRect(QRectF(-21, -13, 42, 26), 12, 12);
                m_painter.restore();
            }
            return;
        }
        const bool cuff = styled("Cuff");
        bangle(centre, 270, 145, cuff ? 52 : 26, cuff ? 70 : 38);
        if (!cuff)
            bangle(centre + QPointF(30, 40), 250, 132, 20, 30);
        for (int i = 0; i < 5; ++i)
            roundStone(centre + QPointF(-120 + i * 60, 138 + std::abs(i - 2) * -10 + (cuff ? 10 : 0)), 13);
    }

    void earring(const QPointF& top, double tilt)
    {
        m_painter.save();
        m_painter.translate(top);
        m_painter.rotate(tilt);
        if (styled("Studs")) {
            shadow(QPointF(18, 400), 110, 30, 70);
            for (int i = 0; i < 12; ++i) {
                const double a = i * M_PI / 6;
                roundStone(QPointF(std::cos(a), std::sin(a)) * 92 + QPointF(0, 260), 16, false);
            }
            roundStone(QPointF(0, 260), 62);
        } else if (styled("Hoops") || styled("Huggies")) {
            const bool small = styled("Huggies");
            const double rx = small ? 78 : 118;
            const double ry = small ? 90 : 150;
            shadow(QPointF(20, 80 + 2 * ry), rx, 24, 60);
            m_painter.setPen(QPen(QBrush(metalGradient(QRectF(-rx, 40, 2 * rx, 2 * ry))), small ? 26 : 18,
                                  Qt::SolidLine, Qt::RoundCap));
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawArc(QRectF(-rx, 40, 2 * rx, 2 * ry), 100 * 16, 340 * 16);
            for (int i = 0; i < 7; ++i) {
                const double a = M_PI * (0.2 + i * 0.1);
                roundStone(QPointF(std::cos(a) * rx, 40 + ry + std::sin(a) * ry), small ? 9 : 8, false);
            }
        } else {
            m_painter.setPen(QPen(m_metal.mid, 6, Qt::SolidLine, Qt::RoundCap));
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawArc(QRectF(-36, 0, 72, 80), 0, 200 * 16);
            m_painter.drawLine(QPointF(36, 40), QPointF(0, 120));
            roundStone(QPointF(0, 140), 22);
            m_painter.setPen(QPen(m_metal.mid, 4));
            m_painter.drawLine(QPointF(0, 162), QPointF(0, 200));
            shadow(QPointF(24, 420), 70, 20, 50);
            teardrop(QPointF(0, 196), 100, 170);
        }
        m_painter.restore();
    }

    void earrings()
    {
        earring(QPointF(440, 200), 4);
        earring(QPointF(760, 230), -6);
    }

    void brooch()
    {
        const QPointF centre(600, 400);
        shadow(centre + QPointF(20, 210), 240, 40, 70);
        m_painter.setPen(
            QPen(QBrush(metalGradient(QRectF(350, 300, 500, 200))), 14, Qt::SolidLine, Qt::RoundCap));
        m_painter.drawLine(centre + QPointF(-40, 40), centre + QPointF(-200, 190));
        for (int leaf = 0; leaf < 2; ++leaf) {
            m_painter.save();
            m_painter.translate(centre + QPointF(-110, 110));
            m_painter.rotate(leaf ? 20 : -70);
            m_painter.setPen(QPen(m_metal.dark, 2));
            m_painter.setBrush(metalGradient(QRectF(0, -30, 130, 60)));
            m_painter.drawEllipse(QRectF(0, -28, 130, 56));
            m_painter.restore();
        }
        const int petals = m_random.between(6, 8);
        for (int i = 0; i < petals; ++i) {
            const double a = i * 2 * M_PI / petals;
            roundStone(centre + QPointF(std::cos(a), std::sin(a)) * 104, 46);
        }
        roundStone(centre, 54);
    }

    void cufflinks()
    {
        for (int side = 0; side < 2; ++side) {
            const QPointF centre(430 + side * 340, 380 + side * 40);
            shadow(centre + QPointF(20, 190), 160, 34, 70);
            m_painter.setPen(QPen(QBrush(metalGradient(QRectF(centre.x() - 80, centre.y(), 160, 200))), 18,
                                  Qt::SolidLine, Qt::RoundCap));
            m_painter.drawLine(centre + QPointF(0, 60), centre + QPointF(0, 170));
            m_painter.drawLine(centre + QPointF(-60, 175), centre + QPointF(60, 175));
            const QRectF face(centre.x() - 110, centre.y() - 110, 220, 220);
            m_painter.setPen(QPen(m_metal.dark, 2));
            m_painter.setBrush(metalGradient(face));
            m_painter.drawRoundedRect(face, 30, 30);
            m_painter.setBrush(QColor(0x1C, 0x2E, 0x52));
            m_painter.drawRoundedRect(face.adjusted(22, 22, -22, -22), 18, 18);
            roundStone(centre, 36);
        }
    }

    QPainter& m_painter;
    const DemoProduct& m_product;
    DemoRandom m_random;
    Metal m_metal;
    Stone m_stone;
};

double zoomOf(ProductKind kind)
{
    switch (kind) {
    case ProductKind::Ring:
        return 1.45;
    case ProductKind::Necklace:
        return 1.15;
    case ProductKind::Watch:
        return 1.12;
    case ProductKind::Bracelet:
        return 1.3;
    case ProductKind::Earrings:
        return 1.35;
    case ProductKind::Brooch:
        return 1.35;
    case ProductKind::Cufflinks:
        return 1.25;
    }
    return 1.0;
}

void paintStudio(QPainter& painter, const DemoProduct& product, const QRectF& area)
{
    const Tone tone = toneOf(product.tone);
    QRadialGradient light(area.center() - QPointF(0, area.height() * 0.12), area.width() * 0.75);
    light.setColorAt(0.0, tone.centre);
    light.setColorAt(1.0, tone.edge);
    painter.fillRect(area, light);
    // A soft horizon where the table meets the wall.
    QLinearGradient table(0, area.top() + area.height() * 0.58, 0, area.bottom());
    table.setColorAt(0.0, QColor(0, 0, 0, 0));
    table.setColorAt(0.25, QColor(90, 60, 30, 14));
    table.setColorAt(1.0, QColor(90, 60, 30, 30));
    painter.fillRect(area, table);
}

void paintLabel(QPainter& painter, const DemoProduct& product, const QRectF& area)
{
    const double unit = std::min(area.width() / designWidth, area.height() / designHeight);
    const QRectF band(area.left(), area.bottom() - area.height() * 0.172, area.width(),
                      area.height() * 0.172);
    painter.fillRect(band, QColor(255, 253, 248, 215));
    painter.fillRect(QRectF(band.left(), band.top(), band.width(), std::max(1.0, 3 * unit)),
                     DemoPalette::gold());
    const double margin = 56 * unit;
    const QRectF text = band.adjusted(margin, 10 * unit, -margin, -12 * unit);
    painter.setPen(DemoPalette::ink());
    painter.setFont(DemoPalette::font(DemoPalette::serif(), 50 * unit));
    painter.drawText(QRectF(text.left(), text.top(), text.width() * 0.72, text.height() * 0.62),
                     Qt::AlignLeft | Qt::AlignBottom, product.name);
    QString details = product.material;
    if (!product.stone.isEmpty())
        details += QStringLiteral("  \u00B7  ") + product.stone;
    details += QStringLiteral("  \u00B7  ") + product.reference;
    painter.setPen(QColor(0x5A, 0x60, 0x6B));
    painter.setFont(DemoPalette::font(DemoPalette::sans(), 24 * unit));
    painter.drawText(
        QRectF(text.left(), text.top() + text.height() * 0.64, text.width() * 0.8, text.height() * 0.36),
        Qt::AlignLeft | Qt::AlignVCenter, details);
    painter.setPen(DemoPalette::goldDark());
    painter.setFont(DemoPalette::font(DemoPalette::sans(), 50 * unit, true));
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, product.price);

    painter.setPen(withAlpha(DemoPalette::goldDark(), 200));
    QFont mark = DemoPalette::font(DemoPalette::sans(), 20 * unit, true);
    mark.setLetterSpacing(QFont::AbsoluteSpacing, 5 * unit);
    painter.setFont(mark);
    painter.drawText(QRectF(area.left() + margin, area.top() + 30 * unit, area.width() / 2, 40 * unit),
                     Qt::AlignLeft | Qt::AlignVCenter, "HALDEN & ROWE");
}

} // namespace

void ProductPainter::paintPiece(QPainter& painter, const DemoProduct& product, const QRectF& area)
{
    const double unit = std::min(area.width() / designWidth, area.height() / designHeight);
    painter.save();
    painter.translate(area.center().x() - designWidth * unit / 2,
                      area.center().y() - designHeight * unit / 2);
    painter.scale(unit, unit);
    // Pieces are drawn around the design box's centre; small ones are brought closer to the camera.
    const double zoom = zoomOf(product.kind);
    painter.translate(600, 420);
    painter.scale(zoom, zoom);
    painter.translate(-600, -420);
    PieceDrawing(painter, product).draw();
    painter.restore();
}

QImage ProductPainter::photograph(const DemoProduct& product, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area(0, 0, size.width(), size.height());
    paintStudio(painter, product, area);
    // The piece sits in the part above the label band, a little smaller than the whole picture.
    const QRectF stage(0, area.height() * 0.03, area.width(), area.height() * 0.80);
    paintPiece(painter, product, stage);
    paintLabel(painter, product, area);
    return image;
}

} // namespace quindle::demo
