#include "support/KioskHarness.h"

#include "screens/Browsing.h"

#include <QDir>
#include <QFile>
#include <functional>

using namespace quindle;
using namespace quindle::test;

using StartupScreen = KioskTest;

TEST_F(StartupScreen, BuildsTheScreenFromTheSettingsAndThePictures)
{
    folder.writeInterfacePicture(QStringLiteral("btn2.jpg"), 150, 45);
    // Names are found whatever their letter case.
    QFile::rename(folder.interfaceFolder() + QStringLiteral("/btn1.jpg"),
                  folder.interfaceFolder() + QStringLiteral("/BTN1.JPG"));
    start();

    // Menu buttons take their faces' sizes; captions break at every underscore.
    EXPECT_EQ(QStringLiteral("BTN1.JPG"), KioskHarness::shownFile(controls().btnMenu[1]));
    EXPECT_EQ(QRect(10, 60, 150, 45), controls().btnMenu[2]->geometry());
    EXPECT_EQ(QStringLiteral("Fine\r\nRings"), controls().btnMenu[1]->caption());
    EXPECT_EQ(QStringLiteral("a\r\nb\r\nc"), menuCaptionText(QStringLiteral("a_b_c")));
    EXPECT_TRUE(controls().btnMenu[1]->captionFont().bold());
    EXPECT_EQ(QColor(Qt::white), controls().btnMenu[1]->foreColor());

    EXPECT_EQ(folder.temp().filePath(QStringLiteral("click.wav")), kiosk.sound.source);
}

TEST(Startup, PlacesFileNameCaptionsOnTheTopOrBottomEdgeOfTheirSlots)
{
    for (const auto& [word, onTop] :
         {std::pair{"TOP", true}, std::pair{"bottom", false}, std::pair{"middle", false}}) {
        SCOPED_TRACE(word);
        KioskFolder folder;
        folder.writeStandardKiosk(
            {QStringLiteral("showFileName = %1, 12, FFFFFF, DejaVu Sans, 8, 000000, bold")
                 .arg(QLatin1String(word))});
        KioskHarness kiosk(folder);
        ASSERT_TRUE(kiosk.start());
        const PictureControl* slot = kiosk.controls().btnThumbnail[6];
        const int top = onTop ? slot->y() : slot->y() + slot->height() - 12;
        EXPECT_EQ(QRect(slot->x(), top, slot->width(), 12), kiosk.controls().lblFileName[6]->geometry());
        EXPECT_EQ(QStringLiteral("Item 06"), kiosk.controls().lblFileName[6]->caption());
    }
}

TEST(Startup, EndsWithTheMessageOfTheFirstMissingPicture)
{
    // What is missing, how the folder loses it, and the start of the message.
    const std::tuple<const char*, std::function<void(const KioskFolder&)>, QString> rows[] = {
        {"a menu face after the earlier buttons are shown",
         [](const KioskFolder& folder) {
             folder.writeSettings(KioskFolder::standardSettings() << QStringLiteral("btn3 = Rings, 10, 110"));
             QFile::remove(folder.interfaceFolder() + QStringLiteral("/btn3.jpg"));
         },
         QStringLiteral("Cannot locate JPG image btn3.jpg - Program Terminating.")},
        {"the Interface folder, named with the kiosk folder as the pointer file writes it",
         [](const KioskFolder& folder) {
             QDir(folder.programFolder()).mkpath(QStringLiteral("Shops"));
             QDir(folder.programFolder()).rename(QStringLiteral("Kiosk"), QStringLiteral("Shops/Kiosk"));
             folder.temp().write(QStringLiteral("quindleFolder.ini"), "Shops\\Kiosk\r\n");
             // Without a backdrop the Interface folder is the first picture looked for.
             folder.temp().write(QStringLiteral("Shops/Kiosk/quindle.ini"),
                                 KioskFolder::standardSettings()
                                     .replaceInStrings(QStringLiteral("backdrop = backdrop.jpg"), QString())
                                     .join(QStringLiteral("\r\n"))
                                     .toUtf8());
             QDir(folder.programFolder() + QStringLiteral("/Shops/Kiosk/Interface")).removeRecursively();
         },
         QStringLiteral("There is no \"Interface\" folder inside your \"Shops\\Kiosk\" folder")},
    };
    for (const auto& [what, change, message] : rows) {
        SCOPED_TRACE(what);
        KioskFolder folder;
        folder.writeStandardKiosk();
        change(folder);
        KioskHarness kiosk(folder);
        bool earlierShown = false;
        kiosk.messageBox.whileOpen = [&](const QString&) {
            earlierShown = kiosk.controls().btnMenu.size() > 2 &&
                           kiosk.controls().btnMenu[2]->isVisibleTo(&kiosk.window());
        };
        EXPECT_FALSE(kiosk.start());
        ASSERT_EQ(1, kiosk.messageBox.messages.size());
        EXPECT_TRUE(kiosk.messageBox.messages[0].startsWith(message))
            << kiosk.messageBox.messages[0].toStdString();
        EXPECT_EQ(1, kiosk.programEnd.calls);
        EXPECT_TRUE(earlierShown || !message.contains(QStringLiteral("btn3")));
    }
}
