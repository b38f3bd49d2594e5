#include "metrics/KioskMetrics.h"

#include "metrics/MetricsText.h"
#include "platform/Clock.h"
#include "tracking/TrackingEvents.h"

#include <QEvent>

namespace quindle {

KioskMetrics::KioskMetrics(const Clock& clock, const QString& filePath, Sources sources)
    : m_clock(clock), m_sources(std::move(sources))
{
    if (!filePath.isEmpty())
        m_file = std::make_unique<MetricsFile>(filePath);
    m_figures.version = QStringLiteral(QUINDLE_VERSION);
    m_figures.startTime = m_clock.now().toSecsSinceEpoch();
}

KioskMetrics::~KioskMetrics() = default;

void KioskMetrics::countEvent(const QString& eventText, bool detailOpen)
{
    const QByteArray text = eventText.toUtf8();
    const std::optional<ReadTrackingText> read = readTrackingText(text);
    if (!read)
        return;
    switch (read->event) {
    case TrackingEvent::ExitAttract:
        ++m_figures.visits;
        return;
    case TrackingEvent::NextButton:
    case TrackingEvent::PrevButton:
        if (!detailOpen)
            ++m_figures.pagesTurned;
        return;
    case TrackingEvent::AutoReboot:
        ++m_figures.restartsRequested;
        return;
    default:
        return;
    }
}

void KioskMetrics::countSearch(std::int32_t hits)
{
    ++m_figures.searches;
    if (hits == 0)
        ++m_figures.searchesWithoutResults;
}

void KioskMetrics::countPrint(PrintOutcome outcome)
{
    if (outcome == PrintOutcome::Printed)
        ++m_figures.printsSent;
}

// A refused print is counted by its message: the press returns only once the visitor has
// closed the box, which may be never before the kiosk ends.
void KioskMetrics::countMessage(const QString& text)
{
    const MessageKind kind = messageKindOf(text);
    ++m_figures.messages.at(static_cast<size_t>(kind));
    if (kind == MessageKind::NoPrinter)
        ++m_figures.printsRefusedNoPrinter;
    if (kind == MessageKind::PrinterUnavailable)
        ++m_figures.printsRefusedPrinterUnavailable;
    if (kind == MessageKind::Watchdog)
        ++m_figures.watchdogFailures;
}

void KioskMetrics::countTouch()
{
    ++m_figures.touches;
    m_figures.lastTouchTime = m_clock.now().toSecsSinceEpoch();
}

bool KioskMetrics::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        countTouch();
    return QObject::eventFilter(watched, event);
}

void KioskMetrics::writeFirst()
{
    write();
}

void KioskMetrics::tick()
{
    if (m_clock.monotonic() - m_lastWrite >= writeInterval)
        write();
}

void KioskMetrics::writeLast()
{
    if (m_file)
        m_file->writeAndWait(textToWrite());
}

// A write still running from the last minute is left to finish; this minute's figures go
// out with the next.
void KioskMetrics::write()
{
    m_lastWrite = m_clock.monotonic();
    if (m_file)
        m_file->startWrite(textToWrite());
}

MetricsFile::Text KioskMetrics::textToWrite()
{
    if (m_sources.readFigures)
        m_sources.readFigures(m_figures);
    return [figures = m_figures, countPictures = m_sources.countPictures]() mutable {
        if (countPictures)
            figures.pictures = countPictures();
        return metricsText(figures);
    };
}

} // namespace quindle
