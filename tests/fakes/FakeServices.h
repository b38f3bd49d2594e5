#pragma once

#include "platform/ClickSound.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"

#include <QStringList>
#include <functional>
#include <stdexcept>

namespace quindle::test {

// A clock that stands still until the test moves it.
class FakeClock final : public Clock
{
public:
    QDateTime now() const override { return m_now; }
    std::chrono::milliseconds monotonic() const override { return m_monotonic += autoAdvance; }
    // Sleeping moves the fake clocks on at once.
    void sleepFor(std::chrono::milliseconds duration) override { advance(duration); }

    void setNow(const QDateTime& now) { m_now = now; }
    // Moves both clocks on.
    void advance(std::chrono::milliseconds step)
    {
        m_now = m_now.addMSecs(step.count());
        m_monotonic += step;
    }

    // Every reading of the monotonic clock moves it on by this much, so that waits that
    // yield while they watch the clock end without a real sleep.
    std::chrono::milliseconds autoAdvance{1};

private:
    QDateTime m_now{QDate(2026, 12, 5), QTime(14, 7, 9)};
    mutable std::chrono::milliseconds m_monotonic{1'000'000};
};

// Records every message; an optional reaction runs while the "box" is open.
struct FakeMessageBox final : MessageBox
{
    void show(const QString& text) override
    {
        messages.append(text);
        if (whileOpen)
            whileOpen(text);
    }
    QStringList messages;
    std::function<void(const QString&)> whileOpen;
};

// Thrown by the fake program end, so that a fatal path unwinds the test.
struct ProgramEnded : std::runtime_error
{
    explicit ProgramEnded(int exitStatus) : std::runtime_error("program ended"), status(exitStatus) {}
    int status;
};

struct FakeProgramEnd final : ProgramEnd
{
    [[noreturn]] void end(int status) override
    {
        ++calls;
        throw ProgramEnded(status);
    }
    int calls = 0;
};

struct FakeClickSound final : ClickSound
{
    void setSource(const QString& path) override { source = path; }
    bool hasSource() const override { return !source.isEmpty(); }
    void play() override { plays += hasSource() ? 1 : 0; }
    QString source;
    int plays = 0;
};

} // namespace quindle::test
