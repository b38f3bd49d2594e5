#include "support/KioskHarness.h"

#include "controls/PictureDecoder.h"
#include "screens/Browsing.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

using namespace quindle;
using namespace quindle::test;

namespace {

// A standard kiosk ("Rings": 15 pictures on a 4×3 grid, "Watches": 3).
class BrowsingTest : public KioskTest
{
protected:
    PictureControl* slot(int i) const { return controls().btnThumbnail[static_cast<size_t>(i)]; }
    LabelControl* button(int index) const { return controls().btnControl[static_cast<size_t>(index)]; }
    static QString shown(const PictureControl* control) { return KioskHarness::shownFile(control); }
    // The faces of Prev, Next and Close, as "prev.jpg -next.jpg -close.jpg".
    QString faces() const
    {
        return QStringList{button(PrevButton)->tag(), button(NextButton)->tag(), button(CloseButton)->tag()}
            .join(QLatin1Char(' '));
    }
    int visibleSlots() const
    {
        return static_cast<int>(std::count_if(controls().btnThumbnail.begin() + 1,
                                              controls().btnThumbnail.end(),
                                              [](const PictureControl* slot) { return slot->isVisible(); }));
    }
};

} // namespace

// The first page as the kiosk starts, and stepping over a page's end beneath the detail view, are followed
// through the running kiosk in the visitor journey.
TEST_F(BrowsingTest, PagesAndTheDetailViewShowWhatTheNavigationSays)
{
    start();
    EXPECT_EQ(QStringLiteral("-prev.jpg next.jpg -close.jpg"), faces());

    kiosk.click(button(NextButton));
    EXPECT_EQ(QStringLiteral("prev.jpg -next.jpg -close.jpg"), faces());
    EXPECT_FALSE(button(NextButton)->isEnabled());

    kiosk.click(slot(3));
    EXPECT_EQ(QStringLiteral("_Item 15.jpg"), shown(slot(3))); // the release gave the slot its picture back
    EXPECT_EQ(QStringLiteral("prev.jpg -next.jpg close.jpg"), faces());
    kiosk.click(controls().bigPicture);
    EXPECT_FALSE(controls().bigPicture->isVisible());
    kiosk.click(button(PrevButton));
    EXPECT_EQ(12, visibleSlots());
    EXPECT_EQ(QStringLiteral("Program Started|Next Button Pressed|Detail: Item 15.jpg|Prev Button Pressed"),
              kiosk.loggedEvents().join('|'));
}

TEST_F(BrowsingTest, MenuReleaseRescansItsCategoryAndFindsNamesWhateverTheirLetterCase)
{
    QDir(folder.kioskFolder() + QStringLiteral("/Watches")).removeRecursively();
    // Pictures and their thumbnails, named in other letter cases.
    const std::pair<const char*, const char*> rows[] = {
        {"Boot.jpg", "_boot.jpg"}, {"Clog.JPG", "_Clog.jpg"}, {"shoe.jpg", "_SHOE.JPG"}};
    for (const auto& [picture, thumbnail] : rows) {
        folder.addPicture(QStringLiteral("WATCHES"), QLatin1String(picture), false);
        folder.temp().write(QStringLiteral("Kiosk/WATCHES/") + QLatin1String(thumbnail), jpegBytes(32, 24));
    }
    start();
    kiosk.click(button(NextButton));
    folder.addPicture(QStringLiteral("Rings"), QStringLiteral("Aardvark.jpg"));
    kiosk.click(controls().btnMenu[1]);
    EXPECT_EQ(0, kiosk.window().navigation().pageStart());
    EXPECT_EQ(QStringLiteral("_Aardvark.jpg"), shown(slot(1)));
    EXPECT_EQ(QStringLiteral("Fine\r\nRings"), controls().btnMenu[1]->caption());

    // A menu press inside the detail view shows its pressed face and closes the view with one click.
    kiosk.click(slot(2));
    const int clicks = kiosk.sound.plays;
    LabelControl* menu = controls().btnMenu[2];
    kiosk.press(menu);
    EXPECT_EQ(QStringLiteral("_btn2.jpg"), shown(menu));
    kiosk.release(menu);
    EXPECT_EQ(QStringLiteral("btn2.jpg"), shown(menu));
    EXPECT_EQ(clicks + 1, kiosk.sound.plays);
    EXPECT_EQ(QStringList(), kiosk.messageBox.messages);
    EXPECT_EQ(3, visibleSlots());
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(QLatin1String(rows[i - 1].second), shown(slot(i)));
        EXPECT_TRUE(slot(i)->hasPicture());
    }

    // A category that vanishes between the press and the release is reported at the release.
    kiosk.press(menu);
    QDir(folder.kioskFolder() + QStringLiteral("/WATCHES")).removeRecursively();
    kiosk.release(menu);
    EXPECT_EQ(QStringList{QStringLiteral("Product Directory \"%1/Kiosk/Watches\" Does Not Exist")
                              .arg(folder.programFolder())},
              kiosk.messageBox.messages);
    EXPECT_EQ(QStringLiteral("btn2.jpg"), shown(menu));
}

TEST_F(BrowsingTest, PressDuringAPageFillIsHandledAndThePageEndsConsistent)
{
    start();
    kiosk.click(button(NextButton));
    // The menu press waits in the queue and is handled at the first yield of the next fill.
    LabelControl* menu = controls().btnMenu[2];
    const QPoint at = menu->rect().center();
    for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                        std::pair{QEvent::MouseButtonRelease, Qt::NoButton}})
        QCoreApplication::postEvent(
            menu, new QMouseEvent(type, at, menu->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier));
    kiosk.window().browsing().pageBack();

    EXPECT_EQ(0, kiosk.window().navigation().pageStart());
    EXPECT_EQ(3, visibleSlots());
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(slot(i)->picturePath().contains(QStringLiteral("/Watches/_Item"))) << i;
    EXPECT_FALSE(button(NextButton)->isEnabled());
}

// While the kiosk waits on a page, the next page's pictures are decoded in the background: the
// page turn then decodes only the control buttons' new faces.
TEST_F(BrowsingTest, TheNextPageIsDecodedWhileTheKioskWaits)
{
    std::int64_t decodedByTheTurn[2] = {};
    for (const DecoderShortcuts shortcuts : {DecoderShortcuts::Left, DecoderShortcuts::Taken}) {
        KioskHarness waiting(folder);
        ASSERT_TRUE(waiting.start());
        PictureDecoder& decoder = waiting.window().pictureDecoder();
        decoder.setShortcuts(shortcuts);
        decoder.clearCache();
        waiting.window().browsing().showThumbnailPage();
        decoder.waitForBackground();
        const std::int64_t before = decoder.decodeCount();
        KioskHarness::click(waiting.controls().btnControl[NextButton]);
        decodedByTheTurn[static_cast<int>(shortcuts)] = decoder.decodeCount() - before;
    }
    EXPECT_EQ(3, decodedByTheTurn[static_cast<int>(DecoderShortcuts::Left)] -
                     decodedByTheTurn[static_cast<int>(DecoderShortcuts::Taken)])
        << "the second page's three pictures were ready";
}

TEST_F(BrowsingTest, ABoxOpenedInsideAPressDoesNotSwallowItsRelease)
{
    QDir(folder.kioskFolder() + QStringLiteral("/Watches")).removeRecursively();
    QDir().mkpath(folder.kioskFolder() + QStringLiteral("/Watches"));
    folder.writeSettings(KioskFolder::standardSettings().replaceInStrings(
        QStringLiteral("btn2 = Watches, 10, 60"),
        QStringLiteral("btn2 = Watches, 10, 60, Wrist_Watches, DejaVu Sans, 12, FFFFFF,bold")));
    start();
    // A real modal box: the finger that closes it is lifted over the box, not the button.
    kiosk.messageBox.whileOpen = [this](const QString&) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quindle"), QString(), QMessageBox::Ok,
                        &kiosk.window());
        box.setWindowModality(Qt::WindowModal);
        QTimer::singleShot(0, &box, &QMessageBox::accept);
        box.exec();
    };
    LabelControl* menu = controls().btnMenu[2];
    kiosk.press(menu);
    ASSERT_EQ(1, kiosk.messageBox.messages.size());
    EXPECT_EQ(QStringLiteral("btn2.jpg"), shown(menu));
    EXPECT_EQ(QStringLiteral("Wrist\r\nWatches"), menu->caption());

    // A release that still arrives is not handled twice.
    kiosk.release(menu);
    EXPECT_EQ(1, kiosk.messageBox.messages.size());
}
