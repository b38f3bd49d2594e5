#include "wdogusb.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace quindle::test;

// Regular files stand in for /dev/watchdog: they take writes like the device, and refuse the
// watchdog ioctls as a driver without them does.
TEST(WdogUsb, CommandsReachTheDeviceUntilDisableClosesIt)
{
    const unsigned char enable[3] = {0x30, 0xFF, 0xFF};
    const unsigned char disable[3] = {0x30, 0xC3, 0xA5};
    const unsigned char tick[3] = {0x02, 0x00, 0x00};
    const unsigned char nearlyTick[3] = {0x02, 0x00, 0x01};
    const TempFolder folder;
    const QByteArray devices[] = {folder.filePath(QStringLiteral("missing")).toLocal8Bit(),
                                  folder.write(QStringLiteral("first")).toLocal8Bit(),
                                  folder.write(QStringLiteral("second")).toLocal8Bit()};
    // A missing device fails every command.
    WDogSetDevicePath(devices[0].constData());
    WDogInit();
    EXPECT_EQ(0, WDogSendCommand(enable) + WDogSendCommand(tick) + WDogSendCommand(disable));

    WDogSetDevicePath(devices[1].constData());
    WDogInit();
    EXPECT_EQ(0, WDogSendCommand(nearlyTick) + WDogSendCommand(nullptr));
    EXPECT_EQ(3, WDogSendCommand(enable) + WDogSendCommand(tick) + WDogSendCommand(tick));
    // Disarming writes the magic close character and closes the device; enable opens it again.
    EXPECT_EQ(1, WDogSendCommand(disable));
    EXPECT_EQ(0, WDogSendCommand(tick));
    EXPECT_EQ(QByteArray("..V"), folder.read(QStringLiteral("first")));
    WDogSetDevicePath(devices[2].constData());
    EXPECT_EQ(2, WDogSendCommand(enable) + WDogSendCommand(tick));
    EXPECT_EQ(QByteArray("."), folder.read(QStringLiteral("second")));
    WDogSetDevicePath("/nonexistent/watchdog");
}
