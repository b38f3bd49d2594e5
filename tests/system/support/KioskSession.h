#pragma once

#include "support/TempFolder.h"
#include "system/support/KioskProcess.h"
#include "system/support/KioskScreen.h"
#include "system/support/SystemKiosk.h"
#include "system/support/TrackingLogReader.h"
#include "system/support/XInput.h"
#include "system/support/XServer.h"

#include <gtest/gtest.h>
#include <memory>

namespace quindle::systemtest {

// One test's whole set-up: its own X server, a generated kiosk folder, the built kiosk on it,
// real input and the screen. Everything started is ended by its process id, also on failure;
// a failing test leaves a screenshot of its last screen in the working folder.
class KioskSession : public testing::Test
{
protected:
    explicit KioskSession(QSize screenSize = QSize(1920, 1080));
    void SetUp() override;
    void TearDown() override;

    // Starts the kiosk and waits for its window; the window's place sets the kiosk's origin.
    void startKiosk();
    void tap(QPoint at) { input.click(at); }
    void tap(const QRect& control) { input.click(control.center()); }
    // Ends the kiosk with a termination signal and returns its exit code (-1: it did not end).
    int endKiosk();

    // What startKiosk() hands the kiosk beside its program folder, and what starts it.
    QStringList kioskArguments;
    QStringList kioskLauncher;

    test::TempFolder folder;
    XServer server;
    XInput input;
    std::unique_ptr<SystemKiosk> kiosk;
    std::unique_ptr<KioskScreen> screen;
    std::unique_ptr<KioskProcess> process;
    std::unique_ptr<TrackingLogReader> log;
};

// Lets GoogleTest print lists of texts in its failure messages.
std::string describe(const QStringList& texts);

} // namespace quindle::systemtest
