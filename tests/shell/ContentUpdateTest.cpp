#include "support/KioskHarness.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

// The pointer file is read once a minute; a new kiosk folder there ends the kiosk at the
// first tick nobody uses it, and nothing else does.
TEST(ContentUpdate, EndsForANewKioskFolderOnlyWhenNobodyUsesTheKiosk)
{
    // The idle countdown starts at the settings' 120 seconds, and again after a touch; without
    // attract it starts at nothing and runs a minute between restarts. The pointer is first
    // read at tick 60.
    const struct
    {
        const char* name;
        bool attract;
        const char* pointer; // the pointer file's new contents; nullptr: the file removed
        int touchAt;         // a visitor touches the first menu button at this tick (0: never)
        int endsAt;          // the tick the kiosk ends at (0: it goes on)
    } cases[] = {
        {"new folder", true, "Kiosk2\r\n", 0, 120},
        {"new folder during a visit", true, "Kiosk2\r\n", 110, 229},
        {"new folder, attract off", false, "Kiosk2\r\n", 0, 61},
        {"pointer file removed", true, nullptr, 0, 0},
        {"folder not there", true, "Missing\r\n", 0, 0},
        {"same folder", true, "kiosk\r\n", 0, 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        KioskFolder folder;
        folder.writeStandardKiosk({row.attract ? "attract = true" : "attract = false"});
        folder.temp().makeFolder("Kiosk2");
        KioskHarness kiosk(folder);
        ASSERT_TRUE(kiosk.start());
        kiosk.window().activateKiosk();
        if (!row.pointer)
            QFile::remove(folder.temp().filePath("quindleFolder.ini"));
        else
            folder.temp().write("quindleFolder.ini", row.pointer);
        int endedAt = 0;
        for (int tick = 1; tick <= 400 && endedAt == 0; ++tick) {
            if (tick == row.touchAt)
                kiosk.click(kiosk.controls().btnMenu[1]);
            try {
                kiosk.window().tick();
            } catch (const ProgramEnded& ended) {
                EXPECT_EQ(0, ended.status);
                endedAt = tick;
            }
        }
        EXPECT_EQ(row.endsAt, endedAt);
        const QString last = kiosk.loggedEvents().value(kiosk.loggedEvents().size() - 1);
        EXPECT_EQ(row.endsAt != 0, last == QStringLiteral("Program Termination: Content Update"))
            << last.toStdString();
    }
}
