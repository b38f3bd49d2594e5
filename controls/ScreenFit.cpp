#include "controls/ScreenFit.h"

#include "controls/PictureControl.h"

#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace quindle {

ScreenFit::ScreenFit(QWidget& stage) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_stage(stage)
{
    setWindowTitle(stage.windowTitle());
    setContextMenuPolicy(Qt::NoContextMenu);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    auto* scene = new QGraphicsScene(this);
    m_proxy = scene->addWidget(&stage);
    m_view = new QGraphicsView(scene, this);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view->setBackgroundBrush(Qt::black);
    m_view->setRenderHints(QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setInteractive(false);
    m_view->viewport()->installEventFilter(this);
    // A stage shown inside the scene is never mapped itself, and sends its size changes on at once.
    stage.show();
    connect(m_proxy, &QGraphicsWidget::geometryChanged, this, &ScreenFit::fit);
    // A screen replaced while the kiosk runs is filled again.
    const QScreen* screen = QGuiApplication::primaryScreen();
    setGeometry(screen ? screen->geometry() : QRect(0, 0, 1920, 1080));
    if (screen)
        connect(screen, &QScreen::geometryChanged, this, [this](const QRect& area) { setGeometry(area); });
    fit();
}

ScreenFit::~ScreenFit()
{
    m_proxy->setWidget(nullptr);
}

QRect ScreenFit::stageArea() const
{
    return m_view->geometry();
}

void ScreenFit::fit()
{
    const QSize stage = m_stage.size();
    if (stage.isEmpty() || size().isEmpty())
        return;
    m_scale = std::min(static_cast<double>(width()) / stage.width(),
                       static_cast<double>(height()) / stage.height());
    const QSize drawn = (QSizeF(stage) * m_scale).toSize().boundedTo(size());
    m_view->setGeometry(QRect(QPoint((width() - drawn.width()) / 2, (height() - drawn.height()) / 2), drawn));
    m_view->setSceneRect(QRectF(m_proxy->pos(), QSizeF(stage)));
    m_view->setTransform(QTransform::fromScale(m_scale, m_scale));
}

// The scene only draws the stage; its mouse events are handed to the stage's controls here, the
// way the application hands them to a window's: the control that took a press hears its release,
// also when the press's handler ran the event loop and the release came during it.
bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_view->viewport())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        deliver(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

void ScreenFit::deliver(const QMouseEvent& event)
{
    const QPointF onStage = m_view->viewportTransform().inverted().map(event.position()) - m_proxy->pos();
    // A press with no other button held starts afresh: the release of an earlier press may have
    // gone to a message box that its handler opened.
    if (event.type() == QEvent::MouseButtonPress && event.buttons() == event.button())
        m_pressed = nullptr;
    QPointer<QWidget> target = m_pressed;
    if (!target) {
        if (event.type() == QEvent::MouseMove)
            return;
        target = m_stage.childAt(onStage.toPoint());
        if (!target)
            target = &m_stage;
    }
    if (event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick)
        m_pressed = target;
    if (event.type() == QEvent::MouseButtonRelease && event.buttons() == Qt::NoButton)
        m_pressed = nullptr;
    QMouseEvent local(event.type(), target->mapFrom(&m_stage, onStage), event.globalPosition(),
                      event.button(), event.buttons(), event.modifiers(), event.pointingDevice());
    QCoreApplication::sendEvent(target, &local);
}

void ScreenFit::resizeEvent(QResizeEvent*)
{
    fit();
}

void ScreenFit::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

// A press on a bar is followed by its release here, wherever the finger is lifted.
void ScreenFit::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit barReleased(mouseButtonFlag(event->button()));
}

void ScreenFit::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void ScreenFit::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void ScreenFit::closeEvent(QCloseEvent* event)
{
    // Like the kiosk window inside it, this one refuses a window manager's close request.
    event->ignore();
}

QWidget* screenWindowOf(QWidget* widget)
{
    QWidget* window = widget->window();
    const QGraphicsProxyWidget* proxy = window->graphicsProxyWidget();
    if (!proxy || !proxy->scene() || proxy->scene()->views().isEmpty())
        return window;
    return proxy->scene()->views().constFirst()->window();
}

double screenScaleOf(QWidget* widget)
{
    const auto* fit = qobject_cast<const ScreenFit*>(screenWindowOf(widget));
    return fit ? fit->scale() : 1.0;
}

} // namespace quindle
