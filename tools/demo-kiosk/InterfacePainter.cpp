#include "tools/demo-kiosk/InterfacePainter.h"

#include "tools/demo-kiosk/DemoPalette.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace quindle::demo {

namespace {

using P = DemoPalette;

const QStringList keyLegends{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "A", "B", "C",
                             "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P",
                             "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", ".", "-"};
const QStringList keyboardWords{"Cancel", "Clear", "Space", "Search"};
const QStringList keyboardFiles{"cancel", "clear", "space", "search"};

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

void prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont spaced(const QFont& font, double spacing)
{
    QFont result = font;
    result.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return result;
}

// The body of a button: a rounded plate that looks raised, pressed into the surface, or greyed.
void paintPlate(QPainter& painter, const QRectF& rect, double radius, double unit, bool pressed,
                bool disabled, bool golden = false)
{
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    if (disabled) {
        fill.setColorAt(0.0, QColor(0x26, 0x2F, 0x3C));
        fill.setColorAt(1.0, QColor(0x20, 0x28, 0x33));
    } else if (golden) {
        fill.setColorAt(0.0, pressed ? P::goldDark() : P::goldLight());
        fill.setColorAt(1.0, pressed ? P::goldDark().darker(120) : P::gold());
    } else if (pressed) {
        fill.setColorAt(0.0, QColor(0x0B, 0x14, 0x21));
        fill.setColorAt(1.0, QColor(0x15, 0x22, 0x36));
    } else {
        fill.setColorAt(0.0, P::inkLighter());
        fill.setColorAt(1.0, P::inkLight());
    }
    if (!pressed && !disabled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 90));
        painter.drawRoundedRect(rect.translated(0, 3 * unit), radius, radius);
    }
    const QColor edge =
        disabled ? QColor(0x44, 0x4D, 0x5A) : (pressed ? P::goldLight() : withAlpha(P::gold(), 200));
    painter.setPen(QPen(edge, std::max(1.0, 1.6 * unit)));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);
    if (pressed) {
        // An inner shadow along the top edge reads as the plate pushed in.
        QLinearGradient shade(rect.topLeft(), rect.topLeft() + QPointF(0, rect.height() * 0.35));
        shade.setColorAt(0.0, QColor(0, 0, 0, 130));
        shade.setColorAt(1.0, QColor(0, 0, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade);
        painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
        return;
    }
    if (!disabled) {
        painter.setPen(QPen(QColor(255, 255, 255, golden ? 120 : 40), std::max(1.0, unit)));
        painter.drawLine(rect.topLeft() + QPointF(radius, 1.5 * unit),
                         rect.topRight() + QPointF(-radius, 1.5 * unit));
    }
}

void paintIcon(QPainter& painter, int kind, const QRectF& box, const QColor& colour)
{
    const double w = box.width();
    const QPointF c = box.center();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, std::max(1.0, w * 0.11), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (kind) {
    case 1: // previous
        painter.drawPolyline(QPolygonF{c + QPointF(w * 0.18, -w * 0.36), c + QPointF(-w * 0.2, 0),
                                       c + QPointF(w * 0.18, w * 0.36)});
        break;
    case 2: // next
        painter.drawPolyline(QPolygonF{c + QPointF(-w * 0.18, -w * 0.36), c + QPointF(w * 0.2, 0),
                                       c + QPointF(-w * 0.18, w * 0.36)});
        break;
    case 3: // close, cancel
    case 6:
        painter.drawLine(c + QPointF(-w * 0.28, -w * 0.28), c + QPointF(w * 0.28, w * 0.28));
        painter.drawLine(c + QPointF(w * 0.28, -w * 0.28), c + QPointF(-w * 0.28, w * 0.28));
        break;
    case 4: // print
        painter.setPen(QPen(colour, std::max(1.0, w * 0.07), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawRect(QRectF(c.x() - w * 0.22, c.y() - w * 0.42, w * 0.44, w * 0.3));
        painter.drawRoundedRect(QRectF(c.x() - w * 0.42, c.y() - w * 0.14, w * 0.84, w * 0.4), w * 0.06,
                                w * 0.06);
        painter.setBrush(colour);
        painter.drawRect(QRectF(c.x() - w * 0.22, c.y() + w * 0.1, w * 0.44, w * 0.32));
        break;
    case 5: // search
        painter.drawEllipse(QRectF(c.x() - w * 0.36, c.y() - w * 0.36, w * 0.5, w * 0.5));
        painter.drawLine(c + QPointF(w * 0.08, w * 0.08), c + QPointF(w * 0.36, w * 0.36));
        break;
    case 7: // clear: a key with a cross, the usual backspace shape
        painter.setPen(QPen(colour, std::max(1.0, w * 0.07), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolygon(QPolygonF{c + QPointF(-w * 0.45, 0), c + QPointF(-w * 0.2, -w * 0.28),
                                      c + QPointF(w * 0.42, -w * 0.28), c + QPointF(w * 0.42, w * 0.28),
                                      c + QPointF(-w * 0.2, w * 0.28)});
        painter.drawLine(c + QPointF(-w * 0.02, -w * 0.12), c + QPointF(w * 0.22, w * 0.12));
        painter.drawLine(c + QPointF(w * 0.22, -w * 0.12), c + QPointF(-w * 0.02, w * 0.12));
        break;
    case 8: // space
        painter.drawPolyline(QPolygonF{c + QPointF(-w * 0.42, -w * 0.1), c + QPointF(-w * 0.42, w * 0.16),
                                       c + QPointF(w * 0.42, w * 0.16), c + QPointF(w * 0.42, -w * 0.1)});
        break;
    default:
        break;
    }
}

// A small gold lozenge, the shop's ornament.
void paintLozenge(QPainter& painter, const QPointF& centre, double size, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(QPolygonF{centre + QPointF(0, -size), centre + QPointF(size * 0.7, 0),
                                  centre + QPointF(0, size), centre + QPointF(-size * 0.7, 0)});
}

} // namespace

InterfacePainter::InterfacePainter(const DemoKioskLayout& layout, const QList<DemoCategory>& categories)
    : m_layout(layout), m_categories(categories)
{
    m_backdrop = drawBackdrop();
    m_keyboardFrame = drawKeyboardFrame();
}

QStringList InterfacePainter::fileNames() const
{
    QStringList names{backdropFileName()};
    for (int n = 1; n <= m_categories.size(); ++n)
        names << QString("btn%1.jpg").arg(n) << QString("_btn%1.jpg").arg(n);
    for (const QString control : {"prev", "next", "close", "print"})
        names << control + ".jpg"
              << "_" + control + ".jpg"
              << "-" + control + ".jpg";
    names << "lookup.jpg"
          << "_thumbnail.jpg"
          << "keyboardFrame.jpg"
          << "keyboardInput.jpg"
          << "keyboard.jpg"
          << "noResults.jpg"
          << "_kbd.jpg";
    for (const QString& button : keyboardFiles)
        names << button + ".jpg"
              << "_" + button + ".jpg";
    return names;
}

QImage InterfacePainter::picture(const QString& fileName) const
{
    const QString base = fileName.chopped(4);
    const Look look =
        base.startsWith('_') ? Look::Pressed : (base.startsWith('-') ? Look::Disabled : Look::Normal);
    const QString name = look == Look::Normal ? base : base.mid(1);
    if (fileName == backdropFileName())
        return m_backdrop;
    if (name.startsWith("btn"))
        return menuFace(name.mid(3).toInt(), look);
    if (name == "prev")
        return controlFace(m_layout.previousButton, Icon::Previous, "Previous", look);
    if (name == "next")
        return controlFace(m_layout.nextButton, Icon::Next, "Next", look);
    if (name == "close")
        return controlFace(m_layout.closeButton, Icon::Close, "Close", look);
    if (name == "print")
        return controlFace(m_layout.printButton, Icon::Print, "Print", look);
    if (name == "lookup")
        return controlFace(m_layout.lookupButton, Icon::Search, QString(), look);
    if (name == "thumbnail")
        return pressedThumbnail();
    if (name == "keyboardFrame")
        return m_keyboardFrame;
    if (name == "keyboardInput")
        return keyboardInput();
    if (name == "keyboard")
        return keyboardKeys();
    if (name == "noResults")
        return noResults();
    if (name == "kbd")
        return pressedKey();
    const int button = static_cast<int>(keyboardFiles.indexOf(name));
    if (button >= 0)
        return keyboardButton(button, look);
    return {};
}

QImage InterfacePainter::drawBackdrop() const
{
    const double s = m_layout.scale;
    QImage image(m_layout.screen, QImage::Format_RGB32);
    QPainter painter(&image);
    prepare(painter);
    const QRectF all(QPointF(0, 0), QSizeF(m_layout.screen));
    QLinearGradient sky(all.topLeft(), all.bottomRight());
    sky.setColorAt(0.0, QColor(0x13, 0x20, 0x33));
    sky.setColorAt(0.55, P::ink());
    sky.setColorAt(1.0, QColor(0x0B, 0x13, 0x20));
    painter.fillRect(all, sky);
    QRadialGradient glow(m_layout.logo.center(), 520 * s);
    glow.setColorAt(0.0, withAlpha(P::gold(), 38));
    glow.setColorAt(1.0, withAlpha(P::gold(), 0));
    painter.fillRect(all, glow);
    // Faint gold arcs in the lower left corner, the only decoration of the wall.
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(withAlpha(P::gold(), 16 - i * 3), std::max(1.0, 1.4 * s)));
        const double r = (380 + i * 70) * s;
        painter.drawEllipse(QPointF(-60 * s, all.height() + 40 * s), r, r);
    }

    // The shop's name.
    const QRectF logo = m_layout.logo;
    paintLozenge(painter, QPointF(logo.left() + 14 * s, logo.top() + 28 * s), 12 * s, P::gold());
    painter.setPen(P::ivory());
    painter.setFont(P::font(P::serif(), 46 * s));
    painter.drawText(QRectF(logo.left(), logo.top() + 48 * s, logo.width() + 40 * s, 60 * s),
                     Qt::AlignLeft | Qt::AlignVCenter, P::shopName());
    painter.fillRect(QRectF(logo.left(), logo.top() + 114 * s, logo.width() * 0.62, std::max(1.0, 1.5 * s)),
                     P::gold());
    painter.setPen(P::gold());
    painter.setFont(spaced(P::font(P::sans(), 14 * s, true), 3.2 * s));
    painter.drawText(QRectF(logo.left(), logo.top() + 122 * s, logo.width() + 40 * s, 26 * s),
                     Qt::AlignLeft | Qt::AlignVCenter, P::shopLine());

    painter.setPen(withAlpha(P::gold(), 220));
    painter.setFont(spaced(P::font(P::sans(), 13 * s, true), 4 * s));
    const QRectF heading = m_layout.menuHeading;
    painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter, "COLLECTIONS");
    painter.fillRect(
        QRectF(heading.left() + 150 * s, heading.center().y(), heading.width() - 150 * s, std::max(1.0, s)),
        withAlpha(P::gold(), 90));

    // The panel that holds the thumbnail page and, in front of it, the detail view.
    const QRectF panel = m_layout.panel;
    QLinearGradient panelFill(panel.topLeft(), panel.bottomLeft());
    panelFill.setColorAt(0.0, QColor(0x1B, 0x2A, 0x40));
    panelFill.setColorAt(1.0, QColor(0x14, 0x21, 0x34));
    painter.setPen(QPen(withAlpha(P::gold(), 110), std::max(1.0, 1.2 * s)));
    painter.setBrush(panelFill);
    painter.drawRoundedRect(panel, 18 * s, 18 * s);

    // A card under every thumbnail slot: slots of a last, shorter page stay as quiet empty cards.
    const QSize thumb = m_layout.thumbnail;
    for (int row = 0; row < m_layout.gridRows; ++row) {
        for (int column = 0; column < m_layout.gridColumns; ++column) {
            const QPointF at(m_layout.gridTopLeft.x() + column * (thumb.width() + m_layout.gridColumnGap),
                             m_layout.gridTopLeft.y() + row * (thumb.height() + m_layout.gridRowGap));
            const QRectF slot(at, QSizeF(thumb));
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, 70));
            painter.drawRoundedRect(slot.adjusted(-5 * s, -3 * s, 7 * s, 11 * s), 8 * s, 8 * s);
            painter.setBrush(QColor(0x24, 0x36, 0x50));
            painter.setPen(QPen(withAlpha(P::gold(), 60), std::max(1.0, s)));
            painter.drawRoundedRect(slot.adjusted(-6 * s, -6 * s, 6 * s, 6 * s), 8 * s, 8 * s);
        }
    }
    const double gridBottom = m_layout.gridTopLeft.y() + m_layout.gridRows * thumb.height() +
                              (m_layout.gridRows - 1) * m_layout.gridRowGap;
    painter.setPen(P::mist());
    painter.setFont(P::font(P::sans(), 17 * s));
    const QRectF detail = m_layout.detailView;
    painter.drawText(
        QRectF(detail.left(), gridBottom, detail.width(), detail.bottom() - gridBottom), Qt::AlignCenter,
        QString::fromUtf8("Touch a piece to see it larger  \u00B7  Use the arrows to turn the page"));
    return image;
}

QImage InterfacePainter::menuFace(int number, Look look) const
{
    const QRect place = m_layout.menuButtons.value(number - 1, QRect(0, 0, 320, 88));
    QImage image = m_backdrop.copy(place);
    QPainter painter(&image);
    prepare(painter);
    const double s = m_layout.scale;
    const bool pressed = look == Look::Pressed;
    const QRectF plate = QRectF(image.rect()).adjusted(2 * s, 2 * s, -2 * s, -5 * s);
    paintPlate(painter, plate, 10 * s, s, pressed, false);
    const double shift = pressed ? 2 * s : 0;
    const double middle = plate.center().y() + shift;
    paintLozenge(painter, QPointF(plate.left() + 24 * s, middle), 7 * s,
                 pressed ? P::goldLight() : P::gold());
    paintIcon(painter, 2, QRectF(plate.right() - 40 * s, middle - 11 * s, 22 * s, 22 * s),
              withAlpha(P::gold(), pressed ? 255 : 170));
    // The short menu statement carries no caption, so that one face has its word drawn in.
    const DemoCategory category = m_categories.value(number - 1);
    if (category.caption.isEmpty()) {
        painter.setPen(P::ivory());
        painter.setFont(P::font(P::serif(), m_layout.menuFontPoints * 96.0 / 72.0, true));
        painter.drawText(plate.translated(0, shift), Qt::AlignCenter, category.folder);
    }
    return image;
}

QImage InterfacePainter::controlFace(const QRect& place, Icon icon, const QString& word, Look look) const
{
    QImage image = m_backdrop.copy(place);
    QPainter painter(&image);
    prepare(painter);
    const double s = m_layout.scale;
    const bool pressed = look == Look::Pressed;
    const bool disabled = look == Look::Disabled;
    const QRectF plate = QRectF(image.rect()).adjusted(2 * s, 2 * s, -2 * s, -5 * s);
    paintPlate(painter, plate, plate.height() / 2, s, pressed, disabled);
    const QRectF inside = plate.translated(0, pressed ? 2 * s : 0);
    const QColor iconColour = disabled ? P::greyed() : (pressed ? P::goldLight() : P::gold());
    const QColor textColour = disabled ? P::greyed() : P::ivory();
    const double iconSize = inside.height() * 0.42;
    const QFont font = P::font(P::sans(), 22 * s, true);
    painter.setFont(font);
    const double textWidth = QFontMetricsF(font).horizontalAdvance(word);
    const double gap = word.isEmpty() ? 0 : 12 * s;
    const double total = iconSize + gap + textWidth;
    if (word.isEmpty()) {
        // The lookup face: the kiosk writes its caption in the middle, so the icon keeps to the left.
        paintIcon(painter, static_cast<int>(icon),
                  QRectF(inside.left() + inside.height() * 0.42, inside.center().y() - iconSize / 2, iconSize,
                         iconSize),
                  iconColour);
        return image;
    }
    double x = inside.center().x() - total / 2;
    const bool iconAfter = icon == Icon::Next;
    const QRectF iconBox(iconAfter ? x + textWidth + gap : x, inside.center().y() - iconSize / 2, iconSize,
                         iconSize);
    paintIcon(painter, static_cast<int>(icon), iconBox, iconColour);
    painter.setPen(textColour);
    painter.setFont(font);
    const double textLeft = iconAfter ? x : x + iconSize + gap;
    painter.drawText(QRectF(textLeft, inside.top(), textWidth + 4, inside.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, word);
    return image;
}

QImage InterfacePainter::pressedThumbnail() const
{
    const QSize size = m_layout.thumbnail;
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    prepare(painter);
    const QRectF all(QPointF(0, 0), QSizeF(size));
    QRadialGradient fill(all.center(), std::max(all.width(), all.height()) * 0.7);
    fill.setColorAt(0.0, QColor(0x3A, 0x4E, 0x6C));
    fill.setColorAt(1.0, P::inkLight());
    painter.fillRect(all, fill);
    const double w = all.width();
    painter.setPen(QPen(P::gold(), std::max(1.0, w * 0.018)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(all.adjusted(w * 0.012, w * 0.012, -w * 0.012, -w * 0.012));
    const double icon = std::min(all.width(), all.height()) * 0.4;
    paintIcon(painter, 5, QRectF(all.center().x() - icon / 2, all.center().y() - icon * 0.62, icon, icon),
              P::goldLight());
    painter.setPen(P::ivory());
    painter.setFont(P::font(P::sans(), all.height() * 0.1, true));
    painter.drawText(QRectF(0, all.height() * 0.64, all.width(), all.height() * 0.2), Qt::AlignCenter,
                     "Opening");
    return image;
}

QImage InterfacePainter::drawKeyboardFrame() const
{
    QImage image(m_layout.keyboardFrame, QImage::Format_RGB32);
    QPainter painter(&image);
    prepare(painter);
    const QRectF all(image.rect());
    QLinearGradient fill(all.topLeft(), all.bottomLeft());
    fill.setColorAt(0.0, QColor(0x1C, 0x2B, 0x42));
    fill.setColorAt(1.0, QColor(0x10, 0x1B, 0x2C));
    painter.fillRect(all, fill);
    painter.setPen(QPen(P::gold(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(all.adjusted(1, 1, -2, -2));
    painter.setPen(QPen(withAlpha(P::gold(), 70), 1));
    painter.drawRect(all.adjusted(6, 6, -7, -7));
    // A recess for the key picture.
    const QRectF keys(QPointF(m_layout.keyboardTopLeft), QSizeF(m_layout.keyboard));
    painter.setPen(QPen(withAlpha(P::gold(), 80), 1));
    painter.setBrush(QColor(0x0A, 0x12, 0x1E));
    painter.drawRoundedRect(keys.adjusted(-5, -5, 5, 5), 8, 8);
    return image;
}

QImage InterfacePainter::keyboardInput() const
{
    QImage image = m_keyboardFrame.copy(QRect(m_layout.keyboardInputTopLeft, m_layout.keyboardInput));
    QPainter painter(&image);
    prepare(painter);
    const QRectF field = QRectF(image.rect()).adjusted(8, 12, -8, -8);
    painter.setPen(QPen(P::gold(), 2));
    painter.setBrush(QColor(0xFD, 0xFB, 0xF6));
    painter.drawRoundedRect(field, 10, 10);
    QLinearGradient shade(field.topLeft(), field.topLeft() + QPointF(0, 14));
    shade.setColorAt(0.0, QColor(0, 0, 0, 45));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(field.adjusted(2, 2, -2, -2), 9, 9);
    paintIcon(painter, 5, QRectF(field.right() - 52, field.center().y() - 17, 34, 34), P::goldDark());
    return image;
}

QImage InterfacePainter::keyboardKeys() const
{
    QImage image = m_keyboardFrame.copy(QRect(m_layout.keyboardTopLeft, m_layout.keyboard));
    QPainter painter(&image);
    prepare(painter);
    constexpr int cell = 66;
    painter.setFont(P::font(P::sans(), 28, true));
    for (int key = 0; key < keyLegends.size(); ++key) {
        const QRectF cap(key % 10 * cell + 4, key / 10 * cell + 4, cell - 8, cell - 8);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 120));
        painter.drawRoundedRect(cap.translated(0, 3), 8, 8);
        QLinearGradient fill(cap.topLeft(), cap.bottomLeft());
        fill.setColorAt(0.0, QColor(0xFB, 0xF7, 0xEE));
        fill.setColorAt(1.0, QColor(0xE2, 0xD8, 0xC4));
        painter.setPen(QPen(QColor(0xB8, 0xA7, 0x84), 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(cap, 8, 8);
        painter.setPen(P::ink());
        painter.drawText(cap, Qt::AlignCenter, keyLegends.at(key));
    }
    return image;
}

QImage InterfacePainter::pressedKey() const
{
    constexpr int cell = 66;
    QImage image = m_keyboardFrame.copy(QRect(m_layout.keyboardTopLeft, QSize(cell, cell)));
    QPainter painter(&image);
    prepare(painter);
    const QRectF cap(4, 6, cell - 8, cell - 8);
    QLinearGradient fill(cap.topLeft(), cap.bottomLeft());
    fill.setColorAt(0.0, P::gold());
    fill.setColorAt(1.0, P::goldLight());
    painter.setPen(QPen(P::goldDark(), 2));
    painter.setBrush(fill);
    painter.drawRoundedRect(cap, 8, 8);
    return image;
}

QImage InterfacePainter::noResults() const
{
    QImage image = m_keyboardFrame.copy(QRect(m_layout.keyboardTopLeft, m_layout.keyboard));
    QPainter painter(&image);
    prepare(painter);
    const QRectF card = QRectF(image.rect()).adjusted(4, 4, -4, -4);
    painter.setPen(QPen(withAlpha(P::gold(), 160), 1.5));
    painter.setBrush(P::inkLight());
    painter.drawRoundedRect(card, 10, 10);
    paintIcon(painter, 5, QRectF(card.center().x() - 30, 34, 60, 60), P::gold());
    painter.setPen(P::ivory());
    painter.setFont(P::font(P::serif(), 40));
    painter.drawText(QRectF(card.left(), 106, card.width(), 56), Qt::AlignCenter, "No products found");
    painter.setPen(P::mist());
    painter.setFont(P::font(P::sans(), 19));
    painter.drawText(QRectF(card.left(), 168, card.width(), 60), Qt::AlignCenter,
                     "Please check the spelling, or try fewer letters.");
    return image;
}

QImage InterfacePainter::keyboardButton(int index, Look look) const
{
    const QRect place(m_layout.keyboardButtonLefts.at(index),
                      m_layout.keyboardFrame.height() - m_layout.keyboardButtonHeight,
                      m_layout.keyboardButtonWidths.at(index), m_layout.keyboardButtonHeight);
    QImage image = m_keyboardFrame.copy(place);
    QPainter painter(&image);
    prepare(painter);
    const bool pressed = look == Look::Pressed;
    const bool search = index == 3;
    const QRectF plate = QRectF(image.rect()).adjusted(5, 4, -5, -16);
    paintPlate(painter, plate, 10, 1.0, pressed, false, search);
    const QRectF inside = plate.translated(0, pressed ? 2 : 0);
    const QColor colour = search ? P::ink() : P::ivory();
    static const QList<int> icons{6, 7, 8, 5};
    const QFont font = P::font(P::sans(), 21, true);
    const double iconSize = 22;
    const double textWidth = QFontMetricsF(font).horizontalAdvance(keyboardWords.at(index));
    const double left = inside.center().x() - (iconSize + 10 + textWidth) / 2;
    paintIcon(painter, icons.at(index), QRectF(left, inside.center().y() - iconSize / 2, iconSize, iconSize),
              search ? P::ink() : P::gold());
    painter.setPen(colour);
    painter.setFont(font);
    painter.drawText(QRectF(left + iconSize + 10, inside.top(), textWidth + 4, inside.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, keyboardWords.at(index));
    return image;
}

} // namespace quindle::demo
