#include "controls/ScreenFit.h"
#include "support/KioskHarness.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

// On a screen of the backdrop's size the screen window shows the kiosk window pixel for pixel
// as the kiosk window draws itself.
TEST(ScreenFit, ScreenOfTheBackdropsSize_showsTheKioskWindowUnchanged)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    const QSize screenSize = QGuiApplication::primaryScreen()->size();
    folder.writeInterfacePicture(QStringLiteral("backdrop.jpg"), screenSize.width(), screenSize.height());
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    ASSERT_EQ(screenSize, kiosk.window().size());
    const QImage unscaled = kiosk.window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    kiosk.window().hide();

    ScreenFit screen(kiosk.window());
    screen.show();
    EXPECT_EQ(1.0, screen.scale());
    EXPECT_EQ(unscaled, screen.grab().toImage().convertToFormat(QImage::Format_RGB32));
}
