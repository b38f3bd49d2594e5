#include "controls/PictureControl.h"

#include "controls/ScreenFit.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <utility>

namespace quindle {

namespace {

// Notes whether a modal box blocked the window while it is watched.
class ModalWatch final : public QObject
{
public:
    explicit ModalWatch(QWidget* window) : m_window(window) { m_window->installEventFilter(this); }
    ~ModalWatch() override
    {
        if (m_window)
            m_window->removeEventFilter(this);
    }
    bool blocked() const { return m_blocked; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::WindowBlocked)
            m_blocked = true;
        return false;
    }

private:
    QPointer<QWidget> m_window;
    bool m_blocked = false;
};

} // namespace

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
        m_shown = {};
        m_image = m_decoder.decodeCached(m_path, PictureFit::NaturalSize);
        if (!m_image.isNull())
            resize(m_image.size());
    } else {
        // Nothing beyond the window is ever seen: a control larger than its window (a
        // button sized from a camera photo) has its picture decoded for the window's size
        // and drawn enlarged, instead of at a size that could take hundreds of megabytes.
        const QSize bound = window() == this ? QSize() : window()->size();
        QSize target = bound.isEmpty() ? size() : fitInside(size(), bound).expandedTo(QSize(0, 0));
        m_enlargement = target.width() > 0 ? static_cast<double>(width()) / target.width() : 1.0;
        m_shown = {};
        // On a scaled screen the picture takes the same part of the control as on an unscaled
        // one, and is decoded for the screen's pixels of that part.
        if (const double scale = screenScaleOf(this); scale != 1.0) {
            const QSize part = fitInside(PictureDecoder::pixelSize(m_path), target);
            m_shown = (QSizeF(part) * m_enlargement).toSize().boundedTo(size());
            target = (QSizeF(part) * scale).toSize();
        }
        m_image = m_decoder.decodeCached(m_path, PictureFit::Inside, target);
    }
    update();
}

QRect PictureControl::pictureRect() const
{
    if (m_image.isNull())
        return {};
    const QSize shown = !m_shown.isEmpty() ? m_shown
                        : m_enlargement > 1.0
                            ? (QSizeF(m_image.size()) * m_enlargement).toSize().boundedTo(size())
                            : m_image.size();
    QRect area(QPoint(0, 0), shown);
    area.moveCenter(rect().center());
    return area;
}

void PictureControl::setBackgroundColor(const QColor& colour)
{
    m_background = colour;
    update();
}

void PictureControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_background)
        painter.fillRect(rect(), *m_background);
    if (!m_image.isNull()) {
        const QRect target = pictureRect();
        // On a scaled screen the picture's own pixels pass through a scaling however it is drawn.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (target.size() == m_image.size()) {
            painter.drawImage(target.topLeft(), m_image);
        } else {
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
    const Qt::MouseButton button = event->button();
    const QPoint position = event->position().toPoint();
    m_pressedButton = button;
    m_releaseReported = false;
    const QPointer<PictureControl> alive(this);
    ModalWatch modal(screenWindowOf(this));
    emit pressed(mouseButtonFlag(button), position);
    // The finger that closed a modal box opened by the press was lifted over the box, so
    // this control never hears of the release: it is reported here once the press is over.
    if (!alive || !modal.blocked() || m_pressedButton != button)
        return;
    m_pressedButton = Qt::NoButton;
    m_releaseReported = true;
    emit released(mouseButtonFlag(button), position);
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    m_pressedButton = Qt::NoButton;
    // The release of a press whose box has closed was reported already.
    if (std::exchange(m_releaseReported, false))
        return;
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
