#pragma once

#include "system/support/LocalService.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <xcb/xcb.h>

namespace quindle::systemtest {

// A window that the X server shows at the top level.
struct TopLevelWindow
{
    xcb_window_t id = 0;
    QRect geometry;
    QString name;
};

// A screen point in xdotool's words.
inline QString xdotoolPoint(QPoint at)
{
    return QStringLiteral("%1 %2").arg(at.x()).arg(at.y());
}

// A private Xvfb server for one test, on the first free display number, reachable only through its
// local socket. Its one XCB connection looks at windows, the input focus and the screen's pixels.
// Input goes through the server's test extension with xdotool, as a touch screen or a keyboard
// would give it.
class XServer
{
public:
    explicit XServer(QSize screenSize);
    ~XServer();

    bool isRunning() const { return !xcb_connection_has_error(m_connection); }
    QSize screenSize() const { return m_screenSize; }
    // This process's environment with the display set for a program started on this server.
    QProcessEnvironment environment() const;

    // Every viewable window at the top level, in stacking order from bottom to top.
    QList<TopLevelWindow> viewableTopLevels();
    // The topmost viewable window of that name; id 0 when none is shown.
    TopLevelWindow windowNamed(const QString& name)
    {
        TopLevelWindow found;
        for (const TopLevelWindow& shown : viewableTopLevels())
            found = shown.name == name ? shown : found;
        return found;
    }
    xcb_window_t inputFocus();
    xcb_window_t transientFor(xcb_window_t window);
    QImage grab(const QRect& area);
    // Sends the window's client a ping and waits for its answer: the answer comes from the
    // client's event loop, so it proves that the program is alive and has read its events.
    bool ping(xcb_window_t window);
    // The close request that a window manager sends when the user closes a window.
    void sendDeleteRequest(xcb_window_t window) { sendProtocolMessage(window, "WM_DELETE_WINDOW"); }

    // button: 1 left, 2 middle, 3 right.
    void click(QPoint at, int button = 1)
    {
        xdotool("mousemove " + xdotoolPoint(at) + " click " + QString::number(button));
    }
    // A key combination in xdotool's words: "alt+F4", "Escape".
    void key(const QString& combination) { xdotool("key --clearmodifiers " + combination); }
    // Runs xdotool with the words of the command; it returns once its events are handed over.
    void xdotool(const QString& command);

private:
    xcb_atom_t atom(const char* name);
    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type);
    void sendProtocolMessage(xcb_window_t window, const char* protocol);

    QSize m_screenSize;
    QProcess m_xvfb;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

} // namespace quindle::systemtest
