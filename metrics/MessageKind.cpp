#include "metrics/MessageKind.h"

#include <array>

namespace quindle {

namespace {

struct KindText
{
    MessageKind kind;
    const char* name;
    // How the messages of the kind begin; empty for none.
    std::array<const char*, 5> beginnings;
};

// The messages that the kiosk shows while it goes on. A message that ends the program (the
// start-up's, a missing category) comes before any figure is written again, so it is left
// to Other.
const std::array<KindText, messageKindCount> kinds{{
    {MessageKind::NoPrinter, "no_printer", {"There is not an available printer"}},
    {MessageKind::PrinterUnavailable, "printer_unavailable", {"The printer cannot be accessed"}},
    {MessageKind::Watchdog,
     "watchdog",
     {"Missing required file \"libwdogusb.so\"", "Could not re-enable watchdog",
      "Could not start USB watchdog", "Error in USB tickle", "Could not disable the USB watchdog"}},
    {MessageKind::RestartRefused, "restart_refused", {"GetCurrentProcess error=="}},
    {MessageKind::EmptyCategory, "empty_category", {"Warning - you have no images inside"}},
    {MessageKind::MissingFolder, "missing_folder", {"Product Directory \""}},
    {MessageKind::Other, "other", {}},
}};

} // namespace

MessageKind messageKindOf(const QString& text)
{
    for (const KindText& kind : kinds) {
        for (const char* beginning : kind.beginnings) {
            if (beginning && text.startsWith(QLatin1String(beginning)))
                return kind.kind;
        }
    }
    return MessageKind::Other;
}

QString messageKindName(MessageKind kind)
{
    return QLatin1String(kinds.at(static_cast<size_t>(kind)).name);
}

} // namespace quindle
