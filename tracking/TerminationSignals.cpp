#include "tracking/TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace quindle {

namespace {

constexpr std::array<int, 3> handledSignals{SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe, as the signal handler sees it. A handler can reach no object,
// so this one descriptor is the only process-wide state.
volatile std::sig_atomic_t signalPipe = -1;

std::array<struct sigaction, handledSignals.size()> previousActions{};

extern "C" void wakeEventLoop(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // write() is async-signal-safe; a full pipe already holds a wake-up, so a lost byte
    // loses nothing.
    static_cast<void>(::write(signalPipe, &byte, 1));
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(Callback onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
    std::array<int, 2> ends{};
    if (signalPipe != -1 || ::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    signalPipe = m_writeEnd;

    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPendingSignals);

    struct sigaction action
    {
    };
    action.sa_handler = wakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < handledSignals.size(); ++i)
        ::sigaction(handledSignals[i], &action, &previousActions[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (m_notifier == nullptr)
        return;
    for (size_t i = 0; i < handledSignals.size(); ++i)
        ::sigaction(handledSignals[i], &previousActions[i], nullptr);
    signalPipe = -1;
    delete m_notifier;
    ::close(m_readEnd);
    ::close(m_writeEnd);
}

void TerminationSignals::readPendingSignals()
{
    unsigned char byte = 0;
    int lastSignal = 0;
    while (::read(m_readEnd, &byte, 1) == 1)
        lastSignal = byte;
    if (lastSignal != 0 && m_onSignal)
        m_onSignal(lastSignal);
}

} // namespace quindle
