#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <xcb/xcb.h>

namespace quindle::systemtest {

// A window that the X server shows at the top level.
struct TopLevelWindow
{
    xcb_window_t id = 0;
    QRect geometry;
    bool overrideRedirect = false;
    QString name;
};

// A private Xvfb server for one test program, on the first free display number, reachable only
// through its local socket. It owns one XCB connection through which the tests look at windows,
// the input focus and the screen's pixels. The server is ended by its process id when this
// object goes, and dies with the test program if that is killed.
class XServer
{
public:
    explicit XServer(QSize screenSize = QSize(1920, 1080)) : m_screenSize(screenSize) { start(); }
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool isRunning() const { return m_connection != nullptr; }
    QString problem() const { return m_problem; }
    QSize screenSize() const { return m_screenSize; }
    // This process's environment with the display set for a program started on this server.
    QProcessEnvironment environment() const;

    // Every viewable window at the top level, in stacking order from bottom to top.
    QList<TopLevelWindow> viewableTopLevels();
    xcb_window_t inputFocus();
    // The screen's pixels in the area.
    QImage grab(const QRect& area);

    // Sends the client of the window a ping and waits for its answer: the answer comes from the
    // client's event loop, so it proves that the program is alive and has read its events.
    bool ping(xcb_window_t window, int timeoutMs = 20'000);
    // The close request that a window manager sends when the user closes a window.
    void sendDeleteRequest(xcb_window_t window);

    xcb_window_t transientFor(xcb_window_t window);

private:
    bool start();
    xcb_atom_t atom(const char* name);
    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type);
    void sendProtocolMessage(xcb_window_t window, const char* protocol, quint32 argument);

    QSize m_screenSize;
    int m_display = 0;
    QProcess m_xvfb;
    QString m_problem;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    quint32 m_pingSerial = 0x51000000;
};

// Makes a child process die with the test program, so that nothing it started outlives it.
void endWithParent(QProcess& process);

} // namespace quindle::systemtest
