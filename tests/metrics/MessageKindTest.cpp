#include "metrics/MessageKind.h"

#include "catalogue/Catalogue.h"
#include "printing/PrintPress.h"

#include <gtest/gtest.h>

using namespace quindle;

TEST(MessageKind, MessagesTheKioskRaisesWhileItRunsHaveTheirKind)
{
    const struct
    {
        QString text;
        const char* label;
    } rows[] = {
        {noPrinterMessage(), "no_printer"},
        {printerUnavailableMessage(), "printer_unavailable"},
        {QStringLiteral(
             "Missing required file \"libwdogusb.so\" for the USB watchdog - disabling this option."),
         "watchdog"},
        {QStringLiteral("Error in USB tickle"), "watchdog"},
        {QStringLiteral("Could not disable the USB watchdog"), "watchdog"},
        {QStringLiteral("GetCurrentProcess error==13"), "restart_refused"},
        {Catalogue::emptyCategoryMessage(QStringLiteral("Rings")), "empty_category"},
        {QStringLiteral("Product Directory \"/var/lib/quindle/Showroom/Rings\" Does Not Exist"),
         "missing_folder"},
        {QStringLiteral("Could not open the printer driver"), "other"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(row.label, messageKindName(messageKindOf(row.text)).toStdString());
    }
}
