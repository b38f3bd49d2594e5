#pragma once

#include "metrics/KioskFigures.h"
#include "metrics/MetricsFile.h"
#include "printing/PrintSpooler.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace quindle {

class Clock;

// Counts the kiosk's figures from the events of its parts and writes them to the metrics
// file: when the kiosk is up, once a minute from the one-second tick, and at a clean end.
// Without a file the figures are counted and never written.
class KioskMetrics : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::seconds writeInterval{60};

    // What the parts of the kiosk tell at each write.
    struct Sources
    {
        // The gauges and the labels, read on the kiosk's own thread.
        std::function<void(KioskFigures&)> readFigures;
        // The pictures of the categories, counted on the writing thread: it reads folders.
        std::function<std::int64_t()> countPictures;
    };

    KioskMetrics(const Clock& clock, const QString& filePath, Sources sources);
    ~KioskMetrics() override;

    const KioskFigures& figures() const { return m_figures; }

    // A line of the tracking log, whether or not tracking is on. With the detail view open the
    // next and previous buttons step through the pictures instead of turning the page.
    void countEvent(const QString& eventText, bool detailOpen);
    void countDetailView() { ++m_figures.detailViews; }
    void countSearch(std::int32_t hits);
    // A print press's outcome once the press is over; refusals are counted by their messages.
    void countPrint(PrintOutcome outcome);
    void countMessage(const QString& text);
    void countTouch();

    // The first write, once the kiosk is up.
    void writeFirst();
    // Each one-second tick: writes when a minute has passed since the last write started.
    void tick();
    // A clean end: the last figures are written before the program ends.
    void writeLast();

protected:
    // Installed on the kiosk's window: every press that reaches it is a touch, wherever it lands.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void write();
    MetricsFile::Text textToWrite();

    const Clock& m_clock;
    Sources m_sources;
    std::unique_ptr<MetricsFile> m_file;
    KioskFigures m_figures;
    std::chrono::milliseconds m_lastWrite{0};
};

} // namespace quindle
