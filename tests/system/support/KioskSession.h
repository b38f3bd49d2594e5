#pragma once

#include "support/TempFolder.h"
#include "system/support/KioskProcess.h"
#include "system/support/KioskScreen.h"
#include "system/support/SystemKiosk.h"
#include "system/support/XServer.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quindle::systemtest {

// One test's whole set-up: its own X server, a generated kiosk folder, the built kiosk on it, real
// input and the screen. Everything started is ended by its process id, also on failure; a failing
// test leaves a screenshot of its last screen in the working folder.
class KioskSession : public testing::Test
{
protected:
    explicit KioskSession(QSize screenSize = QSize(1920, 1080)) : server(screenSize) {}
    void SetUp() override;
    void TearDown() override;

    // Starts the kiosk and waits for its window; the window's place sets the kiosk's origin.
    void startKiosk();
    void tap(QPoint at) { server.click(at); }
    void tap(const QRect& control) { server.click(control.center()); }
    // Ends the kiosk with a termination signal and returns its exit code (-1: it did not end).
    int endKiosk();

    test::TempFolder folder;
    XServer server;
    std::unique_ptr<SystemKiosk> kiosk;
    std::unique_ptr<KioskScreen> screen;
    std::unique_ptr<KioskProcess> process;
};

// Polls until the check holds or the time is up.
bool waitFor(const std::function<bool()>& check, int timeoutMs = 20'000);
// Lets GoogleTest print lists of texts in its failure messages.
std::string describe(const QStringList& texts);

} // namespace quindle::systemtest
