#pragma once

#include "tools/admin/ActivityReport.h"

#include <QString>
#include <vector>

namespace quindle::admin {

// One kiosk of a fleet: its name (its folder's), the content version it last took, and
// what its logs hold.
struct KioskActivity
{
    QString name;
    QString contentVersion;
    ActivityReport report;
};

// The whole fleet as one kiosk: counts added, lists merged by name, most first.
ActivityReport fleetSum(const std::vector<KioskActivity>& kiosks);

// Searches typed that were never followed by opening a picture.
qint64 failedSearches(const ActivityReport& report);
qint64 prints(const ActivityReport& report);

} // namespace quindle::admin
