#include "unattended/Watchdog.h"

#include "fakes/FakeServices.h"
#include "support/TempFolder.h"
#include "unattended/DlopenWatchdogLibrary.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace quindle;
using namespace quindle::test;

namespace {

// A run of the watchdog on the stand-in library, as steps: "s" start, "t" tickle, "d" disable, "H" lay the
// hang marker down in capital letters, "r" take it away. The trace names each step that
// reached the library by its number, with what the library received: "30 ff ff" arms the card, "02 00 00"
// is a sign of life, "30 c3 a5" disarms the card.
struct Steps
{
    bool switchedOn;
    const char* library; // name or path; none: the stand-in library
    const char* refused; // the commands the card refuses
    QByteArray steps;
    const char* trace;
    const char* messages; // separated by "|"
};

const QByteArray tickles10(10, 't');
const char* const missingLibrary =
    "Missing required file \"libwdogusb.so\" for the USB watchdog - disabling this option.";

const Steps runs[] = {
    // Start prepares the library, arms the card and sends the first sign of life; disable disarms it. What
    // the card refuses is reported.
    {true, nullptr, "30 ff ff", "s", "1:init+30 ff ff", "Could not re-enable watchdog"},
    {true, nullptr, "30 c3 a5", "sd", "1:init+30 ff ff+02 00 00 2:30 c3 a5",
     "Could not disable the USB watchdog"},
    // A sign of life at the sixth tickle and every fifth after it; a refused one is tried at the next fifth.
    {true, nullptr, "02 00 00", "st" + tickles10, "1:init+30 ff ff+02 00 00 7:02 00 00 12:02 00 00",
     "Could not start USB watchdog|Error in USB tickle|Error in USB tickle"},
    // The hang marker, in any letter case, holds the signs of life back and the count where it stood.
    {true, nullptr, "", "stttH" + tickles10 + tickles10 + "rtttttttt",
     "1:init+30 ff ff+02 00 00 29:02 00 00 34:02 00 00", ""},
    // A library that is missing or lacks the entry points is reported once and switches the watchdog off,
    // as the settings can.
    {true, "/nonexistent/libwdogusb.so", "", "s" + tickles10 + "ds", "", missingLibrary},
    {true, "libm.so.6", "", "s", "", missingLibrary},
    {false, nullptr, "", "s" + tickles10 + "d", "", ""},
};

} // namespace

TEST(Watchdog, RunsSendWhatTheCardNeeds)
{
    for (const Steps& row : runs) {
        SCOPED_TRACE(row.steps.constData());
        TempFolder program;
        qputenv("RECORDING_WATCHDOG_FILE", program.filePath(QStringLiteral("received.txt")).toLocal8Bit());
        qputenv("RECORDING_WATCHDOG_REFUSE", row.refused);
        DlopenWatchdogLibrary library(
            QString::fromLatin1(row.library ? row.library : RECORDING_WATCHDOG_PATH));
        FakeMessageBox messageBox;
        Watchdog watchdog(row.switchedOn, program.path(), library, messageBox);
        std::map<char, std::function<void()>> actions;
        actions.emplace('s', [&] { watchdog.start(); });
        actions.emplace('t', [&] { watchdog.tickle(); });
        actions.emplace('d', [&] { watchdog.disable(); });
        actions.emplace('H', [&] { program.write(QStringLiteral("HANG.TXT")); });
        actions.emplace('r', [&] { QFile::remove(program.filePath(QStringLiteral("HANG.TXT"))); });
        QStringList trace;
        for (qsizetype step = 0; step < row.steps.size(); ++step) {
            const qsizetype before = program.read(QStringLiteral("received.txt")).size();
            actions.at(row.steps[step])();
            const QByteArray received = program.read(QStringLiteral("received.txt")).mid(before).trimmed();
            if (!received.isEmpty())
                trace.append(QString::number(step + 1) + ':' +
                             QString::fromLatin1(received).replace('\n', '+'));
        }
        qunsetenv("RECORDING_WATCHDOG_FILE");
        qunsetenv("RECORDING_WATCHDOG_REFUSE");
        EXPECT_EQ(QString::fromUtf8(row.trace), trace.join(' '));
        EXPECT_EQ(QString::fromUtf8(row.messages).split('|', Qt::SkipEmptyParts), messageBox.messages);
    }
    // The project's own library has both entry points. It is only opened, never called: initialising it
    // would open the machine's watchdog device.
    EXPECT_TRUE(DlopenWatchdogLibrary(QStringLiteral(WDOGUSB_LIBRARY_PATH)).open());
}
