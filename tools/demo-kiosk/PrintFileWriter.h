#pragma once

#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QByteArray>

namespace quindle::demo {

// A product's printer-ready file: a small PCL job that prints the product's sheet as text, the
// kind of file a shop prepares once and the kiosk sends to the printer byte for byte.
class PrintFileWriter
{
public:
    static QByteArray printFile(const DemoProduct& product, const QString& category);
};

} // namespace quindle::demo
