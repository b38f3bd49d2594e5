#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

class QGraphicsProxyWidget;
class QGraphicsView;

namespace quindle {

// The window on the screen. It covers the whole screen in black and shows the kiosk's own
// window, the stage, which keeps the backdrop's size so that every coordinate of the settings
// keeps meaning a pixel of the backdrop: the stage is drawn scaled by the one factor that fits
// it on the screen, centred, with black bars where the proportions differ. A touch reaches the
// control drawn under it; a press on a bar is reported when it is released.
class ScreenFit : public QWidget
{
    Q_OBJECT

public:
    // Shows the stage, a widget without a parent, until this window goes; it is handed back
    // then, not deleted.
    explicit ScreenFit(QWidget& stage);
    ~ScreenFit() override;

    // Screen pixels per stage pixel.
    double scale() const { return m_scale; }
    // Where the stage is drawn, in this window's pixels.
    QRect stageArea() const;

signals:
    // The release of a press on a bar, its button as the picture controls report it.
    void barReleased(int button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fit();
    void deliver(const QMouseEvent& event);

    QWidget& m_stage;
    QGraphicsView* m_view = nullptr;
    QGraphicsProxyWidget* m_proxy = nullptr;
    double m_scale = 1.0;
    // The control that took the press of the buttons still held: it hears of their release.
    QPointer<QWidget> m_pressed;
};

// The window that shows the widget on the screen: the ScreenFit around its window, if there is
// one, else its own window.
QWidget* screenWindowOf(QWidget* widget);

// The factor by which the widget is drawn on the screen: 1 outside a ScreenFit.
double screenScaleOf(QWidget* widget);

} // namespace quindle
