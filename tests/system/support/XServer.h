#pragma once

#include "system/support/LocalService.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QtEndian>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
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
// would give it. QProcess kills the server by its process id.
class XServer
{
public:
    // Xvfb takes the first display number that no other server holds and writes it once it accepts
    // clients, so test programs started at the same moment never share a display.
    explicit XServer(QSize screenSize) : m_screenSize(screenSize)
    {
        // Nobody reads what it writes: a full pipe would stop it.
        m_xvfb.setStandardErrorFile(QProcess::nullDevice());
        endWithParent(m_xvfb);
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {"-screen", "0",
                      QStringLiteral("%1x%2x24").arg(screenSize.width()).arg(screenSize.height()),
                      "-nolisten", "tcp", "-displayfd", "1"});
        QByteArray announced;
        while (!announced.contains('\n') && m_xvfb.waitForReadyRead(20'000))
            announced += m_xvfb.readAllStandardOutput();
        m_display = QLatin1Char(':') + QString::fromLatin1(announced.trimmed());
        m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
        if (!isRunning())
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        // The answers to pings are sent to the root window.
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~XServer() { xcb_disconnect(m_connection); }

    bool isRunning() const { return !xcb_connection_has_error(m_connection); }
    QSize screenSize() const { return m_screenSize; }
    // This process's environment with the display set for a program started on this server.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return environment;
    }

    // Every viewable window at the top level, in stacking order from bottom to top.
    QList<TopLevelWindow> viewableTopLevels()
    {
        QList<TopLevelWindow> windows;
        auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            auto attributes = owned(xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr));
            auto geometry = owned(
                xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, children[i]), nullptr));
            if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
                continue;
            const QByteArray name = property(children[i], atom("_NET_WM_NAME"), atom("UTF8_STRING"));
            windows.append({children[i], QRect(geometry->x, geometry->y, geometry->width, geometry->height),
                            QString::fromUtf8(name)});
        }
        return windows;
    }
    // The topmost viewable window of that name; id 0 when none is shown.
    TopLevelWindow windowNamed(const QString& name)
    {
        TopLevelWindow found;
        for (const TopLevelWindow& shown : viewableTopLevels())
            found = shown.name == name ? shown : found;
        return found;
    }
    xcb_window_t inputFocus()
    {
        auto reply =
            owned(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        return reply ? reply->focus : 0;
    }
    xcb_window_t transientFor(xcb_window_t window)
    {
        const QByteArray value = property(window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
        return value.size() == 4 ? qFromUnaligned<xcb_window_t>(value.constData()) : 0;
    }
    // A 24-bit screen keeps each pixel in 32 bits, blue first: Qt's RGB32 layout.
    QImage grab(const QRect& area)
    {
        auto reply = owned(xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, static_cast<int16_t>(area.x()),
                          static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                          static_cast<uint16_t>(area.height()), ~0U),
            nullptr));
        if (!reply)
            return {};
        return QImage(xcb_get_image_data(reply.get()), area.width(), area.height(), QImage::Format_RGB32)
            .copy();
    }
    // Sends the window's client a ping and waits for its answer: the answer comes from the
    // client's event loop, so it proves that the program is alive and has read its events.
    bool ping(xcb_window_t window)
    {
        sendProtocolMessage(window, "_NET_WM_PING");
        const xcb_atom_t pingAtom = atom("_NET_WM_PING");
        const QDeadlineTimer deadline(20'000);
        while (!deadline.hasExpired() && !xcb_connection_has_error(m_connection)) {
            while (auto event = owned(xcb_poll_for_event(m_connection))) {
                const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
                if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && answer->data.data32[0] == pingAtom)
                    return true;
            }
            pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&descriptor, 1, 50);
        }
        return false;
    }
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
    void xdotool(const QString& command)
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
        if (!tool.waitForFinished(30'000) || tool.exitStatus() != QProcess::NormalExit ||
            tool.exitCode() != 0)
            ADD_FAILURE() << "xdotool " << command.toStdString()
                          << " failed: " << tool.readAll().toStdString();
    }

private:
    template <typename Reply> static std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply)
    {
        return {reply, &std::free};
    }
    xcb_atom_t atom(const char* name)
    {
        const auto length = static_cast<uint16_t>(std::strlen(name));
        auto reply = owned(
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, length, name), nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        auto reply = owned(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, name, type, 0, 4096), nullptr));
        if (!reply)
            return {};
        return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                          xcb_get_property_value_length(reply.get()));
    }
    // The time stamp is left at 0, the current time.
    void sendProtocolMessage(xcb_window_t window, const char* protocol)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom(protocol);
        message.data.data32[2] = window;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

    QSize m_screenSize;
    QProcess m_xvfb;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

} // namespace quindle::systemtest
