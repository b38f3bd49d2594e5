#include "wdogusb.h"

#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quindle::test;

namespace {

const unsigned char enable[3] = {0x30, 0xFF, 0xFF};
const unsigned char disable[3] = {0x30, 0xC3, 0xA5};
const unsigned char tick[3] = {0x02, 0x00, 0x00};

// A regular file stands in for /dev/watchdog: it takes writes like the device, and
// refuses the watchdog ioctls as a driver without them does.
class WdogUsb : public ::testing::Test
{
protected:
    void SetUp() override { useDevice(m_folder.write(QStringLiteral("watchdog"))); }
    void TearDown() override { WDogSetDevicePath("/nonexistent/watchdog"); }

    void useDevice(const QString& path)
    {
        m_devicePath = path.toLocal8Bit();
        WDogSetDevicePath(m_devicePath.constData());
    }
    QByteArray written() const { return m_folder.read(QStringLiteral("watchdog")); }

    TempFolder m_folder;

private:
    QByteArray m_devicePath;
};

} // namespace

TEST_F(WdogUsb, EnableTickAndDisableOnTheDevice)
{
    WDogInit();
    EXPECT_EQ(1, WDogSendCommand(enable));
    EXPECT_EQ(QByteArray(), written());
    EXPECT_EQ(1, WDogSendCommand(tick));
    EXPECT_EQ(1, WDogSendCommand(tick));
    EXPECT_EQ(QByteArray(".."), written());

    // Disarming writes the magic close character and closes the device.
    EXPECT_EQ(1, WDogSendCommand(disable));
    EXPECT_EQ(QByteArray("..V"), written());
    EXPECT_EQ(0, WDogSendCommand(tick));
    EXPECT_EQ(QByteArray("..V"), written());
}

TEST_F(WdogUsb, EnableOpensTheDeviceAgainAfterDisable)
{
    WDogInit();
    EXPECT_EQ(1, WDogSendCommand(disable));
    EXPECT_EQ(QByteArray("V"), written());

    useDevice(m_folder.write(QStringLiteral("second-watchdog")));
    EXPECT_EQ(1, WDogSendCommand(enable));
    EXPECT_EQ(1, WDogSendCommand(tick));
    EXPECT_EQ(QByteArray("."), m_folder.read(QStringLiteral("second-watchdog")));
}

TEST_F(WdogUsb, MissingDeviceFailsEveryCommand)
{
    useDevice(m_folder.filePath(QStringLiteral("no-such-device")));
    WDogInit();
    EXPECT_EQ(0, WDogSendCommand(enable));
    EXPECT_EQ(0, WDogSendCommand(tick));
    EXPECT_EQ(0, WDogSendCommand(disable));
}

TEST_F(WdogUsb, OtherCommandsAreRefused)
{
    WDogInit();
    const unsigned char nearlyEnable[3] = {0x30, 0xFF, 0x00};
    const unsigned char nearlyTick[3] = {0x02, 0x00, 0x01};
    EXPECT_EQ(0, WDogSendCommand(nearlyEnable));
    EXPECT_EQ(0, WDogSendCommand(nearlyTick));
    EXPECT_EQ(0, WDogSendCommand(nullptr));
    EXPECT_EQ(QByteArray(), written());
}
