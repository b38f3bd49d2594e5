#include "metrics/MessageKind.h"
#include "catalogue/Catalogue.h"
#include "fakes/FakeServices.h"
#include "printing/PrintPress.h"
#include "unattended/ScheduledReboot.h"
#include "unattended/UnattendedFakes.h"
#include "unattended/Watchdog.h"

#include <functional>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// The messages that the watchdog raises when its library or the card fails.
QStringList watchdogMessages(const std::function<void(FakeWatchdogLibrary&, Watchdog&)>& failure)
{
    FakeWatchdogLibrary library;
    FakeMessageBox messages;
    Watchdog watchdog(true, QStringLiteral("/nonexistent"), library, messages);
    failure(library, watchdog);
    return messages.messages;
}

QStringList refusedRestartMessages()
{
    FakeClock clock;
    FakeSystemRestart restart;
    restart.outcome = RestartOutcome{13, QStringLiteral("org.freedesktop.DBus.Error.AccessDenied")};
    FakeMessageBox messages;
    ScheduledReboot reboot({-1, -1, -1}, clock, restart, messages, [](const QString&) {});
    reboot.rebootMachine();
    return messages.messages;
}

struct KindCase
{
    const char* name;
    QStringList messages; // as the kiosk's parts raise them
    MessageKind expected;
    const char* label;
};

} // namespace

TEST(MessageKind, MessagesTheKioskRaisesWhileItRunsHaveTheirKind)
{
    const KindCase cases[] = {
        {"no printer", {noPrinterMessage()}, MessageKind::NoPrinter, "no_printer"},
        {"printer cannot be accessed",
         {printerUnavailableMessage()},
         MessageKind::PrinterUnavailable,
         "printer_unavailable"},
        {"watchdog library missing", watchdogMessages([](FakeWatchdogLibrary& library, Watchdog& watchdog) {
             library.loadable = false;
             watchdog.start();
         }),
         MessageKind::Watchdog, "watchdog"},
        {"card refuses to be armed", watchdogMessages([](FakeWatchdogLibrary& library, Watchdog& watchdog) {
             library.failing = QStringList{QStringLiteral("enable")};
             watchdog.start();
         }),
         MessageKind::Watchdog, "watchdog"},
        {"card refuses its first and later ticks",
         watchdogMessages([](FakeWatchdogLibrary& library, Watchdog& watchdog) {
             library.failing = QStringList{QStringLiteral("tick")};
             watchdog.start();
             for (int tick = 0; tick < 6; ++tick)
                 watchdog.tickle();
         }),
         MessageKind::Watchdog, "watchdog"},
        {"card refuses to be disarmed",
         watchdogMessages([](FakeWatchdogLibrary& library, Watchdog& watchdog) {
             watchdog.start();
             library.failing = QStringList{QStringLiteral("disable")};
             watchdog.disable();
         }),
         MessageKind::Watchdog, "watchdog"},
        {"scheduled restart refused", refusedRestartMessages(), MessageKind::RestartRefused,
         "restart_refused"},
        {"category without pictures",
         {Catalogue::emptyCategoryMessage(QStringLiteral("Rings"))},
         MessageKind::EmptyCategory,
         "empty_category"},
        {"category folder gone after the start",
         {QStringLiteral("Product Directory \"/var/lib/quindle/Showroom/Rings\" Does Not Exist")},
         MessageKind::MissingFolder,
         "missing_folder"},
        {"anything else", {QStringLiteral("Could not open the printer driver")}, MessageKind::Other, "other"},
    };
    for (const KindCase& row : cases) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(row.messages.isEmpty()) << "the part raised no message";
        for (const QString& text : row.messages) {
            SCOPED_TRACE(text.toStdString());
            EXPECT_EQ(row.expected, messageKindOf(text));
            EXPECT_EQ(row.label, messageKindName(messageKindOf(text)).toStdString());
        }
    }
}
