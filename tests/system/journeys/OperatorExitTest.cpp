#include "system/support/KioskSession.h"

using namespace quindle::systemtest;

using OperatorExit = KioskSession;

// The log is written in batches of 15 lines; the operator's exit writes what is left.
TEST_F(OperatorExit, RightReleaseOnBareBackdrop_endsWithStatusZeroAndWritesEveryBufferedLine)
{
    startKiosk();
    const QStringList categories[] = {kiosk->pictures(0), kiosk->pictures(1)};
    QStringList expected{QStringLiteral("Program Started")};
    for (int press = 1; press <= 17; ++press) {
        const int button = press % 2 == 1 ? 2 : 1;
        tap(kiosk->menuButton(button));
        ASSERT_TRUE(waitFor([&] { return screen->showsPage(categories[button - 1], 0); }));
        expected << QStringLiteral("Menu Button %1 Pressed").arg(button);
        if (press == 13) {
            EXPECT_TRUE(kiosk->logRecords().isEmpty()) << "14 lines wait in the buffer";
        }
        if (press == 14) {
            EXPECT_EQ(15, kiosk->logRecords().size()) << "the 15th line writes the batch";
        }
    }

    server.click(kiosk->bareBackdrop(), 3);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_TRUE(process->exitedNormally());
    EXPECT_EQ(0, process->exitCode());
    expected << QStringLiteral("Program Termination: User Right-Click");
    EXPECT_EQ(expected, kiosk->logEvents());
    EXPECT_FALSE(process->standardError().contains(QStringLiteral("Quindle:")));
}
