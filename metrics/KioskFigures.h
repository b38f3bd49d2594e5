#pragma once

#include "metrics/MessageKind.h"

#include <QString>
#include <array>
#include <cstdint>

namespace quindle {

// The kiosk's figures as its metrics file reports them. The counters count from the start
// of the program and only grow (the monitoring side handles restarts); the gauges are read
// off the kiosk's parts just before each write. Nothing here holds a visitor's typed text.
struct KioskFigures
{
    QString version;
    // The kiosk folder in use, and the version of its content when it was published.
    QString kioskFolder;
    QString contentVersion;

    // Seconds since the epoch; the last touch stays 0 until the first one.
    std::int64_t startTime = 0;
    std::int64_t lastTouchTime = 0;

    std::int64_t touches = 0;
    // Slideshows ended by a touch.
    std::int64_t visits = 0;
    std::int64_t detailViews = 0;
    // Thumbnail pages turned with the next and previous buttons.
    std::int64_t pagesTurned = 0;
    std::int64_t searches = 0;
    std::int64_t searchesWithoutResults = 0;
    std::int64_t printsSent = 0;
    std::int64_t printsRefusedNoPrinter = 0;
    std::int64_t printsRefusedPrinterUnavailable = 0;
    std::array<std::int64_t, messageKindCount> messages{};
    std::int64_t undecodablePictures = 0;
    std::int64_t watchdogFailures = 0;
    std::int64_t restartsRequested = 0;

    std::int64_t trackingLinesWaiting = 0;
    std::int64_t trackingWriteFailures = 0;
    std::int64_t categories = 0;
    std::int64_t pictures = 0;
};

} // namespace quindle
