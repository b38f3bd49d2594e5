#include "support/KioskHarness.h"

#include "controls/PictureDecoder.h"
#include "screens/Browsing.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

QStringList lines(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}

// A started standard kiosk ("Rings": 15 pictures on a 4×3 grid, "Watches": 3).
class BrowsingTest : public ::testing::Test
{
protected:
    void SetUp() override { folder.writeStandardKiosk(); }

    void start()
    {
        kiosk = std::make_unique<KioskHarness>(folder);
        ASSERT_TRUE(kiosk->start()) << kiosk->messageBox.messages.join(QLatin1Char('|')).toStdString();
    }
    void emptyCategory(const QString& name)
    {
        QDir(folder.kioskFolder() + QLatin1Char('/') + name).removeRecursively();
        QDir().mkpath(folder.kioskFolder() + QLatin1Char('/') + name);
    }

    const KioskControls& controls() const { return kiosk->controls(); }
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
        int count = 0;
        for (size_t i = 1; i < controls().btnThumbnail.size(); ++i)
            count += controls().btnThumbnail[i]->isVisible() ? 1 : 0;
        return count;
    }

    KioskFolder folder;
    std::unique_ptr<KioskHarness> kiosk;
};

} // namespace

TEST_F(BrowsingTest, EmptyListHidesEverySlotAndDisablesPaging)
{
    emptyCategory(QStringLiteral("Rings"));
    start();
    EXPECT_EQ(0, visibleSlots());
    EXPECT_EQ(QStringLiteral("-prev.jpg -next.jpg -close.jpg"), faces());
    EXPECT_FALSE(button(PrevButton)->isEnabled() || button(NextButton)->isEnabled());
    EXPECT_EQ(1,
              kiosk->messageBox.messages.size()); // the warning's text is checked with a box open in a press
}

TEST_F(BrowsingTest, PagesAndTheDetailViewShowWhatTheNavigationSays)
{
    start();
    EXPECT_EQ(12, visibleSlots());
    EXPECT_EQ(QStringLiteral("_Item 01.jpg"), shown(slot(1)));
    EXPECT_EQ(QStringLiteral("-prev.jpg next.jpg -close.jpg"), faces());

    kiosk->click(button(NextButton));
    EXPECT_EQ(3, visibleSlots());
    EXPECT_EQ(QStringLiteral("_Item 13.jpg"), shown(slot(1)));
    EXPECT_EQ(QString(), slot(4)->picturePath());
    EXPECT_EQ(QStringLiteral("prev.jpg -next.jpg -close.jpg"), faces());
    EXPECT_FALSE(button(NextButton)->isEnabled());

    kiosk->click(slot(3));
    EXPECT_EQ(QStringLiteral("Item 15.jpg"), shown(controls().bigPicture));
    EXPECT_EQ(QStringLiteral("_Item 15.jpg"), shown(slot(3))); // the release gave the slot its picture back
    EXPECT_EQ(QStringLiteral("prev.jpg -next.jpg close.jpg"), faces());
    kiosk->click(controls().bigPicture);
    EXPECT_FALSE(controls().bigPicture->isVisible());
    kiosk->click(button(PrevButton));
    EXPECT_EQ(12, visibleSlots());

    // A step over the page's end moves the page beneath the detail view; Close shows it.
    kiosk->click(slot(12));
    slot(1)->setPicturePath(QString()); // a refill would give the covered slot its picture back
    kiosk->click(button(NextButton));
    EXPECT_EQ(12, kiosk->window().navigation().pageStart());
    EXPECT_EQ(QString(), slot(1)->picturePath());
    EXPECT_EQ(QStringLiteral("Item 13.jpg"), shown(controls().bigPicture));
    kiosk->click(button(CloseButton));
    EXPECT_FALSE(controls().bigPicture->isVisible());
    EXPECT_EQ(QStringLiteral("_Item 13.jpg"), shown(slot(1)));
    EXPECT_EQ(QStringLiteral("prev.jpg -next.jpg -close.jpg"), faces());
    EXPECT_EQ(lines("Program Started|Next Button Pressed|Detail: Item 15.jpg|Prev Button Pressed|"
                    "Detail: Item 12.jpg|Next Button Pressed|Detail: Item 13.jpg|Close Button Pressed"),
              kiosk->loggedEvents());
}

TEST_F(BrowsingTest, MenuPressInTheDetailViewClosesItWithOneClick)
{
    folder.temp().write(QStringLiteral("click.wav"), "RIFF");
    start();
    kiosk->click(slot(2));
    const int clicks = kiosk->sound.plays;
    LabelControl* menu = controls().btnMenu[2];
    kiosk->press(menu);
    EXPECT_EQ(QStringLiteral("_btn2.jpg"), shown(menu));
    kiosk->release(menu);
    EXPECT_EQ(QStringLiteral("btn2.jpg"), shown(menu));
    EXPECT_EQ(clicks + 1, kiosk->sound.plays);
    EXPECT_FALSE(controls().bigPicture->isVisible());
    EXPECT_EQ(3, visibleSlots());
    EXPECT_EQ(lines("Program Started|Detail: Item 02.jpg|Menu Button 2 Pressed"), kiosk->loggedEvents());
}

TEST_F(BrowsingTest, MenuReleaseRescansItsCategoryAndFindsNamesWhateverTheirLetterCase)
{
    QDir(folder.kioskFolder() + QStringLiteral("/Watches")).removeRecursively();
    const struct
    {
        const char* picture;
        const char* thumbnail; // without one the slot shows the picture itself
    } rows[] = {{"Boot.jpg", "_boot.jpg"},
                {"Clog.JPG", "_Clog.jpg"},
                {"Mule.jpg", nullptr},
                {"shoe.jpg", "_SHOE.JPG"}};
    for (const auto& row : rows) {
        folder.addPicture(QStringLiteral("WATCHES"), QLatin1String(row.picture), false);
        if (row.thumbnail)
            folder.temp().write(QStringLiteral("Kiosk/WATCHES/") + QLatin1String(row.thumbnail),
                                jpegBytes(32, 24));
    }
    start();
    kiosk->click(button(NextButton));
    folder.addPicture(QStringLiteral("Rings"), QStringLiteral("Aardvark.jpg"));
    kiosk->click(controls().btnMenu[1]);
    EXPECT_EQ(0, kiosk->window().navigation().pageStart());
    EXPECT_EQ(QStringLiteral("_Aardvark.jpg"), shown(slot(1)));
    EXPECT_EQ(QStringLiteral("Fine\r\nRings"), controls().btnMenu[1]->caption());

    kiosk->click(controls().btnMenu[2]);
    EXPECT_EQ(QStringList(), kiosk->messageBox.messages);
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const auto& row = rows[i - 1];
        EXPECT_EQ(QLatin1String(row.thumbnail ? row.thumbnail : row.picture), shown(slot(i)));
        EXPECT_TRUE(slot(i)->hasPicture());
    }

    // A category that vanishes between the press and the release is reported at the release.
    LabelControl* menu = controls().btnMenu[2];
    kiosk->press(menu);
    QDir(folder.kioskFolder() + QStringLiteral("/WATCHES")).removeRecursively();
    kiosk->release(menu);
    EXPECT_EQ(QStringList{QStringLiteral("Product Directory \"%1/Kiosk/Watches\" Does Not Exist")
                              .arg(folder.programFolder())},
              kiosk->messageBox.messages);
    EXPECT_EQ(QStringLiteral("btn2.jpg"), shown(menu));
}

TEST_F(BrowsingTest, PressDuringAPageFillIsHandledAndThePageEndsConsistent)
{
    start();
    kiosk->click(button(NextButton));
    // The menu press waits in the queue and is handled at the first yield of the next fill.
    LabelControl* menu = controls().btnMenu[2];
    const QPoint at = menu->rect().center();
    for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                        std::pair{QEvent::MouseButtonRelease, Qt::NoButton}})
        QCoreApplication::postEvent(
            menu, new QMouseEvent(type, at, menu->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier));
    kiosk->window().browsing().pageBack();

    EXPECT_EQ(0, kiosk->window().navigation().pageStart());
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
        start();
        PictureDecoder& decoder = kiosk->window().pictureDecoder();
        decoder.setShortcuts(shortcuts);
        decoder.clearCache();
        kiosk->window().browsing().showThumbnailPage();
        decoder.waitForBackground();
        const std::int64_t before = decoder.decodeCount();
        kiosk->click(button(NextButton));
        decodedByTheTurn[static_cast<int>(shortcuts)] = decoder.decodeCount() - before;
    }
    EXPECT_EQ(3, decodedByTheTurn[static_cast<int>(DecoderShortcuts::Left)] -
                     decodedByTheTurn[static_cast<int>(DecoderShortcuts::Taken)])
        << "the second page's three pictures were ready";
}

TEST_F(BrowsingTest, ABoxOpenedInsideAPressDoesNotSwallowItsRelease)
{
    emptyCategory(QStringLiteral("Watches"));
    folder.writeSettings(KioskFolder::standardSettings().replaceInStrings(
        QStringLiteral("btn2 = Watches, 10, 60"),
        QStringLiteral("btn2 = Watches, 10, 60, Wrist_Watches, DejaVu Sans, 12, FFFFFF,bold")));
    start();
    // A real modal box: the finger that closes it is lifted over the box, not the button.
    kiosk->messageBox.whileOpen = [this](const QString&) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quindle"), QString(), QMessageBox::Ok,
                        &kiosk->window());
        box.setWindowModality(Qt::WindowModal);
        QTimer::singleShot(0, &box, &QMessageBox::accept);
        box.exec();
    };
    LabelControl* menu = controls().btnMenu[2];
    kiosk->press(menu);
    EXPECT_EQ(lines("Warning - you have no images inside your \"category\" folder of \"Watches\""),
              kiosk->messageBox.messages);
    EXPECT_EQ(QStringLiteral("btn2.jpg"), shown(menu));
    EXPECT_EQ(QStringLiteral("Wrist\r\nWatches"), menu->caption());

    // A release that still arrives is not handled twice.
    kiosk->release(menu);
    EXPECT_EQ(1, kiosk->messageBox.messages.size());
}
