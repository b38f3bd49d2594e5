#pragma once

#include "controls/PictureDecoder.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <optional>

namespace quindle {

// Mouse buttons as the kiosk's handlers receive them: 1 left, 2 right, 4 middle.
enum MouseButtonFlag : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };
int mouseButtonFlag(Qt::MouseButton button);

// A picture control of the kiosk window: shows the picture file given by its path on an
// optional background colour, reports presses and releases with the button and the
// position, and, with Notify set, reports once a picture it was given is ready on screen.
//
// Every press is followed by its release, even when a message box raised inside the press
// took the mouse's release for itself: the release is reported once the press is over.
class PictureControl : public QWidget
{
    Q_OBJECT

public:
    // The decoder gives the control its pictures; it outlives every control of the window.
    explicit PictureControl(PictureDecoder& decoder, QWidget* parent = nullptr,
                            PictureFit fit = PictureFit::Inside);

    // Setting the path loads and shows the file; the empty text shows nothing. A picture
    // that cannot be read shows nothing as well.
    void setPicturePath(const QString& path);
    QString picturePath() const { return m_path; }
    bool hasPicture() const { return !m_image.isNull(); }

    // With PictureFit::NaturalSize the control takes its picture's pixel size.
    void setPictureFit(PictureFit fit);
    PictureFit pictureFit() const { return m_fit; }

    // The face cache of setPicture(): the Interface picture's name the control shows.
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    bool notify() const { return m_notify; }
    void setNotify(bool notify) { m_notify = notify; }

    // Painted over the whole control beneath the picture; none by default.
    void setBackgroundColor(const QColor& colour);
    std::optional<QColor> backgroundColor() const { return m_background; }

signals:
    void pressed(int button, QPoint position);
    void released(int button, QPoint position);
    // Raised once after a picture was loaded while Notify was set.
    void notified();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    virtual void drawOver(QPainter&) {}
    // Where the picture is drawn; labels fill their whole rectangle.
    virtual QRect pictureRect() const;
    const QImage& image() const { return m_image; }

private:
    void load();

    PictureDecoder& m_decoder;
    QString m_path;
    QImage m_image;
    QString m_tag;
    PictureFit m_fit;
    std::optional<QColor> m_background;
    bool m_notify = false;
    // The button of a press whose release has not been reported yet.
    Qt::MouseButton m_pressedButton = Qt::NoButton;
    // The release was reported when the press ended, so the mouse's own is not reported again.
    bool m_releaseReported = false;
    double m_enlargement = 1.0; // drawn size over decoded size, above 1 only past the window
    QSize m_shown;              // the size the picture is drawn at on a scaled screen
};

} // namespace quindle
