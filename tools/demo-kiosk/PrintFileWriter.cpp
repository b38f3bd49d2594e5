#include "tools/demo-kiosk/PrintFileWriter.h"

#include "tools/demo-kiosk/DemoPalette.h"

namespace quindle::demo {

QByteArray PrintFileWriter::printFile(const DemoProduct& product, const QString& category)
{
    // Reset, portrait, 12-point Courier; text lines end in CR LF; a form feed ejects the page.
    QByteArray job("\x1b"
                   "E"
                   "\x1b&l0O"
                   "\x1b(s0p10h12v0s0b3T");
    const auto line = [&job](const QString& text) {
        job += text.toLatin1() + "\r\n";
    };
    QString price = product.price;
    price.replace(QString::fromUtf8("\u00A3"), "GBP ");
    line(DemoPalette::shopName().toUpper() + "  -  FINE JEWELLERY");
    line("========================================");
    line("");
    line("Product:    " + product.name);
    line("Collection: " + category);
    line("Reference:  " + product.reference);
    line("Material:   " + product.material);
    if (!product.stone.isEmpty())
        line("Stone:      " + product.stone);
    line("Price:      " + price);
    line("");
    line("Ask any of our staff to see this piece.");
    line("Thank you for visiting.");
    job += "\x0c"
           "\x1b"
           "E";
    return job;
}

} // namespace quindle::demo
