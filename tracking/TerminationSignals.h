#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quindle {

// Turns SIGTERM, SIGINT and SIGHUP (a system shutdown, a stop of the service, a closed
// terminal) into a call on the event loop, so that the kiosk can write its tracking log
// before it ends. The signal handler itself only writes the signal's number to a pipe;
// all real work happens in the callback, between two events, never in the middle of a
// log write.
//
// One instance at a time; the previous dispositions are restored when it goes.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    using Callback = std::function<void(int signalNumber)>;

    explicit TerminationSignals(Callback onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool installed() const { return m_notifier != nullptr; }

private:
    void readPendingSignals();

    Callback m_onSignal;
    int m_readEnd = -1;
    int m_writeEnd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quindle
