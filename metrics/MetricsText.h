#pragma once

#include <QByteArray>

namespace quindle {

struct KioskFigures;

// The figures in the Prometheus text exposition format, as node_exporter's textfile
// collector reads it: every metric with its HELP and TYPE lines, named "quindle_…", counters
// ending in "_total", times in seconds since the epoch ending in "_seconds", and no time
// stamps (the collector refuses them).
QByteArray metricsText(const KioskFigures& figures);

} // namespace quindle
