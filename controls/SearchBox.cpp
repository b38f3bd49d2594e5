#include "controls/SearchBox.h"

#include "controls/PictureControl.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace quindle {

SearchBox::SearchBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::NoFocus);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    QFont face(QStringLiteral("MS Sans Serif"));
    face.setStyleHint(QFont::SansSerif);
    face.setPointSize(24);
    face.setBold(true);
    setFont(face);
    hide();
}

void SearchBox::setText(const QString& text)
{
    m_text = text;
    update();
}

void SearchBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(0xB0, 0xB0, 0xB0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont face = font();
    const int room = width() - 16;
    while (face.pointSizeF() > 8 && QFontMetrics(face).horizontalAdvance(m_text) > room)
        face.setPointSizeF(face.pointSizeF() - 1);
    painter.setFont(face);
    painter.setPen(Qt::black);
    painter.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

void SearchBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit pressed(mouseButtonFlag(event->button()), event->position().toPoint());
}

void SearchBox::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit released(mouseButtonFlag(event->button()), event->position().toPoint());
}

void SearchBox::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

} // namespace quindle
