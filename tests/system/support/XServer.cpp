#include "system/support/XServer.h"

#include <QDeadlineTimer>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/prctl.h>

namespace quindle::systemtest {

namespace {

template <typename Reply> std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply)
{
    return {reply, &std::free};
}

} // namespace

void endWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

// The server is asked to end first; QProcess kills it by its process id if it does not.
XServer::~XServer()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    m_xvfb.terminate();
    m_xvfb.waitForFinished(10'000);
}

// Xvfb takes the first display number that no other server holds and writes it once it accepts
// clients, so test programs started at the same moment never share a display.
bool XServer::start()
{
    const QString screen = QStringLiteral("%1x%2x24").arg(m_screenSize.width()).arg(m_screenSize.height());
    m_xvfb.setStandardErrorFile(QProcess::nullDevice());
    endWithParent(m_xvfb);
    m_xvfb.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-screen"), QStringLiteral("0"), screen, QStringLiteral("-nolisten"),
                  QStringLiteral("tcp"), QStringLiteral("-displayfd"), QStringLiteral("1")});
    const QDeadlineTimer deadline(20'000);
    QByteArray announced;
    while (!announced.contains('\n') && m_xvfb.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
        announced += m_xvfb.readAllStandardOutput();
    bool announcedNumber = false;
    m_display = announced.trimmed().toInt(&announcedNumber);
    if (!announcedNumber) {
        m_problem = QStringLiteral("Xvfb did not start (Debian package xvfb): ") + m_xvfb.errorString();
        return false;
    }
    m_connection = xcb_connect(QStringLiteral(":%1").arg(m_display).toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        m_problem = QStringLiteral("cannot connect to the X server on :%1").arg(m_display);
        return false;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    // The answers to pings are sent to the root window.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    return true;
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(m_display));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("XAUTHORITY"));
    return environment;
}

xcb_atom_t XServer::atom(const char* name)
{
    auto reply = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

QByteArray XServer::property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    auto reply = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, name, type, 0, 4096), nullptr));
    if (!reply || reply->format == 0)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

QList<TopLevelWindow> XServer::viewableTopLevels()
{
    QList<TopLevelWindow> windows;
    auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree)
        return windows;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t id = children[i];
        auto attributes = owned(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, id), nullptr));
        auto geometry =
            owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, id), nullptr));
        if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const QByteArray name = property(id, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
        windows.append(TopLevelWindow{id, QRect(geometry->x, geometry->y, geometry->width, geometry->height),
                                      attributes->override_redirect != 0, QString::fromUtf8(name)});
    }
    return windows;
}

xcb_window_t XServer::inputFocus()
{
    auto reply = owned(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    return reply ? reply->focus : 0;
}

QImage XServer::grab(const QRect& area)
{
    auto reply = owned(xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, static_cast<int16_t>(area.x()),
                      static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                      static_cast<uint16_t>(area.height()), ~0U),
        nullptr));
    if (!reply)
        return {};
    const int stride = area.height() > 0 ? xcb_get_image_data_length(reply.get()) / area.height() : 0;
    if (stride < area.width() * 4)
        return {};
    // A 24-bit screen keeps each pixel in 32 bits, blue first: Qt's RGB32 layout.
    return QImage(xcb_get_image_data(reply.get()), area.width(), area.height(), stride, QImage::Format_RGB32)
        .copy();
}

void XServer::sendProtocolMessage(xcb_window_t window, const char* protocol, quint32 argument)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom(protocol);
    message.data.data32[1] = argument;
    message.data.data32[2] = window;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);
}

bool XServer::ping(xcb_window_t window, int timeoutMs)
{
    const quint32 serial = ++m_pingSerial;
    sendProtocolMessage(window, "_NET_WM_PING", serial);
    const xcb_atom_t pingAtom = atom("_NET_WM_PING");
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (auto event = owned(xcb_poll_for_event(m_connection))) {
            const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && answer->data.data32[0] == pingAtom &&
                answer->data.data32[1] == serial)
                return true;
        }
        if (xcb_connection_has_error(m_connection))
            return false;
        pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        ::poll(&descriptor, 1, 50);
    }
    return false;
}

void XServer::sendDeleteRequest(xcb_window_t window)
{
    sendProtocolMessage(window, "WM_DELETE_WINDOW", XCB_CURRENT_TIME);
}

xcb_window_t XServer::transientFor(xcb_window_t window)
{
    const QByteArray value = property(window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
    xcb_window_t parent = 0;
    if (value.size() >= 4)
        std::memcpy(&parent, value.constData(), 4);
    return parent;
}

} // namespace quindle::systemtest
