#include "support/KioskHarness.h"

#include "screens/Browsing.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

QStringList replaced(QStringList lines, const QString& key, const QString& statement)
{
    for (QString& line : lines) {
        if (line.startsWith(key + QLatin1Char(' ')) || line.startsWith(key + QLatin1Char('=')))
            line = statement;
    }
    if (!lines.contains(statement))
        lines << statement;
    return lines;
}

} // namespace

TEST(Startup, LaysOutTheGridRowByRow)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    folder.writeSettings(replaced(KioskFolder::standardSettings(), QStringLiteral("grid"),
                                  QStringLiteral("grid = 4, 3, 120, 90, 50, 200, 10, 20")));
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start()) << kiosk.messageBox.messages.join(QLatin1Char('|')).toStdString();

    const auto& cells = kiosk.controls().btnThumbnail;
    ASSERT_EQ(13u, cells.size());
    EXPECT_EQ(QRect(50, 200, 120, 90), cells[1]->geometry());
    EXPECT_EQ(QPoint(440, 200), cells[4]->pos());
    EXPECT_EQ(QPoint(50, 310), cells[5]->pos());
    EXPECT_EQ(QPoint(440, 420), cells[12]->pos());
    EXPECT_EQ(12, kiosk.window().navigation().thumbsPerPage());
}

TEST(Startup, SizesTheWindowAndMenuButtonsFromTheirPictures)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    folder.writeInterfacePicture(QStringLiteral("btn2.jpg"), 150, 45);
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());

    EXPECT_EQ(QSize(800, 600), kiosk.window().size());
    EXPECT_EQ(QPoint(0, 0), kiosk.controls().backdrop->pos());
    EXPECT_EQ(QStringLiteral("backdrop.jpg"), KioskHarness::shownFile(kiosk.controls().backdrop));
    LabelControl* second = kiosk.controls().btnMenu[2];
    EXPECT_EQ(QRect(10, 60, 150, 45), second->geometry());
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(QStringLiteral("btn2.jpg"), KioskHarness::shownFile(second));
}

TEST(Startup, MenuCaptionsBreakAtEveryUnderscore)
{
    EXPECT_EQ(QStringLiteral("Summer\r\nSale"), menuCaptionText(QStringLiteral("Summer_Sale")));
    EXPECT_EQ(QStringLiteral("a\r\nb\r\nc"), menuCaptionText(QStringLiteral("a_b_c")));
    EXPECT_EQ(QStringLiteral("plain"), menuCaptionText(QStringLiteral("plain")));

    KioskFolder folder;
    folder.writeStandardKiosk();
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    EXPECT_EQ(QStringLiteral("Fine\r\nRings"), kiosk.controls().btnMenu[1]->caption());
    EXPECT_TRUE(kiosk.controls().btnMenu[1]->captionFont().bold());
    EXPECT_EQ(QColor(Qt::white), kiosk.controls().btnMenu[1]->foreColor());
    EXPECT_EQ(QString(), kiosk.controls().btnMenu[2]->caption());
}

TEST(Startup, PlacesFileNameCaptionsOnTheTopOrBottomEdgeOfTheirSlots)
{
    for (const auto& [word, onTop] :
         {std::pair{QStringLiteral("TOP"), true}, std::pair{QStringLiteral("bottom"), false},
          std::pair{QStringLiteral("middle"), false}}) {
        KioskFolder folder;
        folder.writeStandardKiosk();
        QStringList settings = KioskFolder::standardSettings();
        settings << QStringLiteral("showFileName = %1, 12, FFFFFF, DejaVu Sans, 8, 000000, bold").arg(word);
        folder.writeSettings(settings);
        KioskHarness kiosk(folder);
        ASSERT_TRUE(kiosk.start());

        const auto& captions = kiosk.controls().lblFileName;
        ASSERT_EQ(13u, captions.size());
        const PictureControl* slot = kiosk.controls().btnThumbnail[6];
        const int expectedTop = onTop ? slot->y() : slot->y() + slot->height() - 12;
        EXPECT_EQ(QRect(slot->x(), expectedTop, slot->width(), 12), captions[6]->geometry())
            << word.toStdString();
        EXPECT_EQ(QStringLiteral("Item 06"), captions[6]->caption());
    }
}

TEST(Startup, SetsALeftoverHangMarkerAside)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    folder.temp().write(QStringLiteral("hang.txt"), "stopped by the owner");
    folder.temp().write(QStringLiteral("hanggg.txt"), "an older marker");
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());

    EXPECT_FALSE(QFile::exists(folder.temp().filePath(QStringLiteral("hang.txt"))));
    EXPECT_EQ(QByteArray("stopped by the owner"), folder.temp().read(QStringLiteral("hanggg.txt")));
}

TEST(Startup, EndsWithTheMessageOfTheFirstMissingMenuFaceAfterShowingTheEarlierButtons)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    QStringList settings = KioskFolder::standardSettings();
    settings << QStringLiteral("btn3 = Rings, 10, 110");
    folder.writeSettings(settings);
    QFile::remove(folder.interfaceFolder() + QStringLiteral("/btn3.jpg"));
    KioskHarness kiosk(folder);
    bool earlierShown = false;
    kiosk.messageBox.whileOpen = [&](const QString&) {
        earlierShown = kiosk.controls().btnMenu[1]->isVisibleTo(&kiosk.window()) &&
                       kiosk.controls().btnMenu[2]->isVisibleTo(&kiosk.window());
    };

    EXPECT_FALSE(kiosk.start());
    EXPECT_EQ(QStringList{QStringLiteral("Cannot locate JPG image btn3.jpg - Program Terminating.")},
              kiosk.messageBox.messages);
    EXPECT_EQ(1, kiosk.programEnd.calls);
    EXPECT_TRUE(earlierShown);
}

TEST(Startup, EndsWhenTheInterfaceFolderOrAControlPictureIsMissing)
{
    {
        KioskFolder folder;
        folder.writeStandardKiosk();
        QStringList settings = KioskFolder::standardSettings();
        settings.removeIf([](const QString& line) { return line.startsWith(QLatin1String("backdrop")); });
        folder.writeSettings(settings);
        QDir(folder.interfaceFolder()).removeRecursively();
        KioskHarness kiosk(folder);
        EXPECT_FALSE(kiosk.start());
        ASSERT_EQ(1, kiosk.messageBox.messages.size());
        EXPECT_TRUE(kiosk.messageBox.messages[0].startsWith(QStringLiteral(
            "There is no \"Interface\" folder inside your \"Kiosk\" folder - please copy or create")));
    }
    {
        KioskFolder folder;
        folder.writeStandardKiosk();
        QFile::remove(folder.interfaceFolder() + QStringLiteral("/-close.jpg"));
        KioskHarness kiosk(folder);
        EXPECT_FALSE(kiosk.start());
        EXPECT_EQ(QStringList{QStringLiteral("Cannot locate JPG image -close.jpg - Program Terminating.")},
                  kiosk.messageBox.messages);
    }
}

TEST(Startup, FindsNamesWrittenInAnotherLetterCase)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    QFile::rename(folder.interfaceFolder() + QStringLiteral("/btn1.jpg"),
                  folder.interfaceFolder() + QStringLiteral("/BTN1.JPG"));
    QFile::rename(folder.kioskFolder() + QStringLiteral("/Rings"),
                  folder.kioskFolder() + QStringLiteral("/RINGS"));
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start()) << kiosk.messageBox.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(QStringLiteral("BTN1.JPG"), KioskHarness::shownFile(kiosk.controls().btnMenu[1]));
    EXPECT_TRUE(kiosk.controls().btnThumbnail[1]->isVisible());
}

TEST(Startup, LogsTheStartAndLoadsTheClickSound)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    folder.temp().write(QStringLiteral("click.wav"), "RIFF");
    KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start());
    EXPECT_EQ(folder.temp().filePath(QStringLiteral("click.wav")), kiosk.sound.source);
    EXPECT_EQ(QStringList{QStringLiteral("Program Started")}, kiosk.loggedEvents());
}
