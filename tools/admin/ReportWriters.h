#pragma once

#include "tools/admin/ActivityReport.h"
#include "tools/admin/FleetReport.h"

#include <QString>

namespace quindle::admin {

// One self-contained HTML page: styles inline, charts as inline SVG, no script and nothing
// fetched, so it opens from a USB stick in any browser and prints as shown.
QString reportHtml(const ActivityReport& report, const QString& kioskName);

// The same page for a fleet: every kiosk side by side (a kiosk whose last line is more than
// a day before now is marked silent), then the whole fleet's activity as one kiosk's.
QString fleetReportHtml(const std::vector<KioskActivity>& kiosks, const QDateTime& now);

// The same counts as comma-separated rows of four fields: section, item, count, detail.
QString reportCsv(const ActivityReport& report);

// "1 h 02 min", "4 min 05 s", "12 s".
QString durationText(qint64 seconds);

} // namespace quindle::admin
