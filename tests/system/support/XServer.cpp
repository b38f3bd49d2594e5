#include "system/support/XServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/prctl.h>

namespace quindle::systemtest {

namespace {

constexpr int firstDisplay = 200;
constexpr int lastDisplay = 399;
constexpr int startLimitMs = 20'000;

template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPointer<Reply> owned(Reply* reply)
{
    return ReplyPointer<Reply>(reply, &std::free);
}

bool displayTaken(int display)
{
    return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display));
}

} // namespace

void endWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

XServer::XServer(QSize screenSize) : m_screenSize(screenSize)
{
    if (!start() && m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.kill();
        m_xvfb.waitForFinished(5000);
    }
}

XServer::~XServer()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    if (m_xvfb.state() == QProcess::NotRunning)
        return;
    m_xvfb.terminate();
    if (!m_xvfb.waitForFinished(10'000)) {
        m_xvfb.kill();
        m_xvfb.waitForFinished(5000);
    }
}

// Each free number is tried in turn: Xvfb takes its display's lock itself, so a test program
// that started at the same moment on the same number makes this one move on to the next.
bool XServer::start()
{
    const QString screen = QStringLiteral("%1x%2x24").arg(m_screenSize.width()).arg(m_screenSize.height());
    for (int display = firstDisplay; display <= lastDisplay; ++display) {
        if (displayTaken(display))
            continue;
        m_xvfb.setProgram(QStringLiteral("Xvfb"));
        m_xvfb.setArguments({QStringLiteral(":%1").arg(display), QStringLiteral("-screen"),
                             QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                             QStringLiteral("-displayfd"), QStringLiteral("1")});
        m_xvfb.setStandardErrorFile(QProcess::nullDevice());
        endWithParent(m_xvfb);
        m_xvfb.start();
        if (!m_xvfb.waitForStarted(startLimitMs)) {
            m_problem = QStringLiteral("Xvfb did not start (Debian package xvfb): ") + m_xvfb.errorString();
            return false;
        }
        // The server writes its display number once it accepts clients.
        const QDeadlineTimer deadline(startLimitMs);
        QByteArray announced;
        while (!announced.contains('\n') && m_xvfb.state() == QProcess::Running && !deadline.hasExpired()) {
            m_xvfb.waitForReadyRead(100);
            announced += m_xvfb.readAllStandardOutput();
        }
        if (announced.trimmed() != QByteArray::number(display)) {
            m_xvfb.kill();
            m_xvfb.waitForFinished(5000);
            continue;
        }
        m_display = display;
        m_connection = xcb_connect(displayName().toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(m_connection)) {
            xcb_disconnect(m_connection);
            m_connection = nullptr;
            m_problem = QStringLiteral("cannot connect to the X server on ") + displayName();
            return false;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        // The answers to pings are sent to the root window.
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        return true;
    }
    m_problem = QStringLiteral("no free display number for Xvfb");
    return false;
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), displayName());
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
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

bool XServer::hasWmState(xcb_window_t window)
{
    const xcb_atom_t wmState = atom("WM_STATE");
    auto reply = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, wmState, XCB_ATOM_ANY, 0, 1), nullptr));
    return reply && reply->type != XCB_ATOM_NONE;
}

// Under a window manager the client lies inside the manager's frame; without one the top
// level window is the client itself.
xcb_window_t XServer::clientOf(xcb_window_t window, int depth)
{
    if (hasWmState(window) || depth == 0)
        return hasWmState(window) ? window : 0;
    auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
    if (!tree)
        return 0;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (const xcb_window_t client = clientOf(children[i], depth - 1))
            return client;
    }
    return 0;
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
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        TopLevelWindow window;
        window.id = id;
        window.overrideRedirect = attributes->override_redirect != 0;
        window.client = clientOf(id, 2);
        if (window.client == 0)
            window.client = id;
        auto geometry = owned(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window.client), nullptr));
        auto position = owned(xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, window.client, m_root, 0, 0), nullptr));
        if (geometry && position)
            window.geometry = QRect(position->dst_x, position->dst_y, geometry->width, geometry->height);
        window.name = windowName(window.client);
        windows.append(window);
    }
    return windows;
}

QString XServer::windowName(xcb_window_t window)
{
    const QByteArray name = property(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
    if (!name.isEmpty())
        return QString::fromUtf8(name);
    return QString::fromLatin1(property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
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
    const uint8_t* data = xcb_get_image_data(reply.get());
    const int length = xcb_get_image_data_length(reply.get());
    const int stride = area.height() > 0 ? length / area.height() : 0;
    if (stride < area.width() * 4)
        return {};
    // A 24-bit screen keeps each pixel in 32 bits, blue first: Qt's RGB32 layout.
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(image.scanLine(y), data + static_cast<ptrdiff_t>(y) * stride,
                    static_cast<size_t>(area.width()) * 4);
    return image;
}

bool XServer::ping(xcb_window_t window, int timeoutMs)
{
    const quint32 serial = ++m_pingSerial;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    const xcb_atom_t pingAtom = atom("_NET_WM_PING");
    message.data.data32[0] = pingAtom;
    message.data.data32[1] = serial;
    message.data.data32[2] = window;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);

    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (auto event = owned(xcb_poll_for_event(m_connection))) {
            if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
                continue;
            const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
            if (answer->data.data32[0] == pingAtom && answer->data.data32[1] == serial)
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
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);
}

QStringList XServer::netWmState(xcb_window_t window)
{
    const QByteArray atoms = property(window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    QStringList names;
    for (qsizetype offset = 0; offset + 4 <= atoms.size(); offset += 4) {
        xcb_atom_t value = 0;
        std::memcpy(&value, atoms.constData() + offset, 4);
        auto reply =
            owned(xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, value), nullptr));
        if (reply)
            names << QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                         xcb_get_atom_name_name_length(reply.get()));
    }
    return names;
}

xcb_window_t XServer::transientFor(xcb_window_t window)
{
    const QByteArray value = property(window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
    xcb_window_t parent = 0;
    if (value.size() >= 4)
        std::memcpy(&parent, value.constData(), 4);
    return parent;
}

quint32 XServer::windowProcessId(xcb_window_t window)
{
    const QByteArray value = property(window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
    quint32 pid = 0;
    if (value.size() >= 4)
        std::memcpy(&pid, value.constData(), 4);
    return pid;
}

} // namespace quindle::systemtest
