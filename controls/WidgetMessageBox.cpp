#include "controls/WidgetMessageBox.h"

#include "controls/ScreenFit.h"

#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMessageBox>
#include <QStyle>
#include <QWidget>

namespace quindle {

namespace {

// The window of a box on a scaled screen: it shows the box scaled like the kiosk, and a close
// request to it is the box's own.
class ScaledBoxWindow final : public QGraphicsView
{
public:
    ScaledBoxWindow(QMessageBox& box, double scale, QWidget* parent) : QGraphicsView(parent), m_box(box)
    {
        setWindowFlags(Qt::Dialog);
        setWindowTitle(box.windowTitle());
        setContextMenuPolicy(Qt::NoContextMenu);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setRenderHints(QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        setScene(&m_scene);
        box.adjustSize();
        QGraphicsProxyWidget* proxy = m_scene.addWidget(&box);
        m_scene.setFocusItem(proxy);
        setTransform(QTransform::fromScale(scale, scale));
        setSceneRect(proxy->geometry());
        resize((QSizeF(box.size()) * scale).toSize());
    }
    ~ScaledBoxWindow() override
    {
        if (auto* proxy = m_box.graphicsProxyWidget())
            proxy->setWidget(nullptr);
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        m_box.reject();
    }

private:
    QMessageBox& m_box;
    QGraphicsScene m_scene;
};

QRect centredOn(const QWidget& window, QSize size)
{
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, window.geometry());
}

} // namespace

void WidgetMessageBox::show(const QString& text)
{
    writeMessageToStandardError(text);
    if (const double scale = m_window ? screenScaleOf(m_window) : 1.0; scale != 1.0) {
        showScaled(text, scale);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quindle"), text, QMessageBox::Ok, m_window);
    box.setWindowModality(m_window ? Qt::WindowModal : Qt::ApplicationModal);
    box.setContextMenuPolicy(Qt::NoContextMenu);
    if (m_window) {
        // Qt centres a dialog by guessing a window frame, which a kiosk without a window manager
        // does not have: the box is centred on the kiosk window by its own size once it has one.
        box.show();
        box.setGeometry(centredOn(*m_window, box.size()));
    }
    box.exec();
    takeFocusBack();
}

// On a scaled screen the box is drawn scaled like the kiosk: it lies inside a window of its own
// that shows it through a scaled view, and that window is modal to the kiosk's.
void WidgetMessageBox::showScaled(const QString& text, double scale)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quindle"), text, QMessageBox::Ok);
    box.setContextMenuPolicy(Qt::NoContextMenu);
    ScaledBoxWindow window(box, scale, m_window);
    window.setWindowModality(Qt::WindowModal);
    window.setGeometry(centredOn(*m_window, window.size()));
    window.show();
    window.activateWindow();
    box.exec();
    takeFocusBack();
}

// Without a window manager nobody hands the keyboard focus back once the box is gone: the kiosk
// window takes it again itself.
void WidgetMessageBox::takeFocusBack()
{
    if (m_window && m_window->isVisible())
        m_window->activateWindow();
}

} // namespace quindle
