#include "metrics/MessageKind.h"

#include "catalogue/Catalogue.h"
#include "printing/PrintPress.h"

#include <gtest/gtest.h>

using namespace quindle;

TEST(MessageKind, MessagesTheKioskRaisesWhileItRunsHaveTheirKind)
{
    const std::pair<QString, const char*> rows[] = {
        {noPrinterMessage(), "no_printer"},
        {printerUnavailableMessage(), "printer_unavailable"},
        {QStringLiteral(
             "Missing required file \"libwdogusb.so\" for the USB watchdog - disabling this option."),
         "watchdog"},
        {QStringLiteral("GetCurrentProcess error==13"), "restart_refused"},
        {Catalogue::emptyCategoryMessage(QStringLiteral("Rings")), "empty_category"},
        {QStringLiteral("Product Directory \"/var/lib/quindle/Showroom/Rings\" Does Not Exist"),
         "missing_folder"},
        {QStringLiteral("Could not open the printer driver"), "other"},
    };
    for (const auto& [text, kind] : rows) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(kind, messageKindName(messageKindOf(text)).toStdString());
    }
}
