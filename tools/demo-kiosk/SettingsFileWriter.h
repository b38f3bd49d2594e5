#pragma once

#include "tools/demo-kiosk/DemoKioskLayout.h"
#include "tools/demo-kiosk/DemoKioskOptions.h"
#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QByteArray>
#include <QList>

namespace quindle::demo {

// Writes the two settings files: the pointer file that names the kiosk folder, and the kiosk's
// settings with every kind of statement, in the plain CR LF text the kiosk reads.
class SettingsFileWriter
{
public:
    static QByteArray pointerFile(const DemoKioskOptions& options);
    static QByteArray settingsFile(const DemoKioskOptions& options, const DemoKioskLayout& layout,
                                   const QList<DemoCategory>& categories);
};

} // namespace quindle::demo
