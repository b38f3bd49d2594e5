#include "controls/PictureControl.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

namespace quindle {

int mouseButtonFlag(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return LeftButton;
    case Qt::RightButton:
        return RightButton;
    case Qt::MiddleButton:
        return MiddleButton;
    default:
        return 0;
    }
}

PictureControl::PictureControl(PictureDecoder& decoder, QWidget* parent, PictureFit fit)
    : QWidget(parent), m_decoder(decoder), m_fit(fit)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void PictureControl::setPicturePath(const QString& path)
{
    m_path = path;
    load();
    if (m_notify)
        QMetaObject::invokeMethod(this, &PictureControl::notified, Qt::QueuedConnection);
}

void PictureControl::setPictureFit(PictureFit fit)
{
    m_fit = fit;
    load();
}

void PictureControl::load()
{
    if (m_path.isEmpty()) {
        m_image = QImage();
        update();
        return;
    }
    if (m_fit == PictureFit::NaturalSize) {
        m_image = m_decoder.decodeCached(m_path, PictureFit::NaturalSize);
        if (!m_image.isNull())
            resize(m_image.size());
    } else {
        // Nothing beyond the window is ever seen: a control larger than its window (a
        // button sized from a camera photo) has its picture decoded for the window's size
        // and drawn enlarged, instead of at a size that could take hundreds of megabytes.
        const QSize bound = window() == this ? QSize() : window()->size();
        const QSize target = bound.isEmpty() ? size() : fitInside(size(), bound).expandedTo(QSize(0, 0));
        m_enlargement = target.width() > 0 ? static_cast<double>(width()) / target.width() : 1.0;
        m_image = m_decoder.decodeCached(m_path, PictureFit::Inside, target);
    }
    update();
}

QRect PictureControl::pictureRect() const
{
    if (m_image.isNull())
        return {};
    const QSize shown = m_enlargement > 1.0
                            ? (QSizeF(m_image.size()) * m_enlargement).toSize().boundedTo(size())
                            : m_image.size();
    QRect area(QPoint(0, 0), shown);
    area.moveCenter(rect().center());
    return area;
}

void PictureControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_image.isNull()) {
        const QRect target = pictureRect();
        if (target.size() == m_image.size()) {
            painter.drawImage(target.topLeft(), m_image);
        } else {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, m_image);
        }
    }
    drawOver(painter);
}

void PictureControl::resizeEvent(QResizeEvent* event)
{
    // A picture fitted into the control is decoded again for its new size.
    if (m_fit != PictureFit::Inside || m_path.isEmpty() || event->size() == event->oldSize())
        return;
    load();
}

void PictureControl::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit pressed(mouseButtonFlag(event->button()), event->position().toPoint());
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit released(mouseButtonFlag(event->button()), event->position().toPoint());
}

void PictureControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A second quick tap is a press like any other.
    mousePressEvent(event);
}

void PictureControl::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

} // namespace quindle
