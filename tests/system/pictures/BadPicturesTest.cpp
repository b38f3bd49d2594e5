#include "system/pictures/BadPictureFiles.h"
#include "system/pictures/ProcessMemory.h"

#include "attract/Attract.h"
#include "catalogue/Catalogue.h"
#include "controls/PictureDecoder.h"
#include "platform/FileSystem.h"
#include "support/KioskHarness.h"

#include <QElapsedTimer>
#include <QImage>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Where a bad picture stands in the kiosk folder.
enum class Role { ProductPicture, Thumbnail, DetailPicture, AttractSlide, ButtonFace };

bool isRegularFile(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(encodeFileName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

const char* roleName(Role role)
{
    switch (role) {
    case Role::ProductPicture:
        return "ProductPicture";
    case Role::Thumbnail:
        return "Thumbnail";
    case Role::DetailPicture:
        return "DetailPicture";
    case Role::AttractSlide:
        return "AttractSlide";
    case Role::ButtonFace:
        return "ButtonFace";
    }
    return "";
}

// The kiosk's window is 800×600: no control shows more than that. Decoding a picture for
// it may take the picture at up to twice the width and height (the JPEG library's scaled
// decode), the fitted result, and the screen's copy; the rest is the window's own work.
constexpr std::int64_t windowBytes = 800 * 600 * 4;
constexpr std::int64_t allowedGrowth = 6 * windowBytes + 24 * 1024 * 1024;

class BadPictures : public ::testing::TestWithParam<std::tuple<QString, Role>>
{
protected:
    void SetUp() override
    {
        warmUp();
        folder.writeStandardKiosk();
    }

    // Fonts, plug-ins and the painting machinery are loaded once, outside the measurements.
    static void warmUp()
    {
        KioskFolder plain;
        plain.writeStandardKiosk();
        KioskHarness kiosk(plain);
        ASSERT_TRUE(kiosk.start());
        kiosk.click(kiosk.controls().btnThumbnail[1]);
        static_cast<void>(kiosk.window().grab());
    }

    const BadPicture& picture() const { return badPicture(std::get<0>(GetParam())); }
    Role role() const { return std::get<1>(GetParam()); }

    QString named(const QString& folderPath, const QString& stem) const
    {
        return folderPath + QLatin1Char('/') + stem + decodeFileName(picture().nameSuffix) +
               QStringLiteral(".jpg");
    }
    QString rings() const { return folder.kioskFolder() + QStringLiteral("/Rings"); }

    // Starts the kiosk and brings the picture on screen as its role has it.
    void bringOnScreen()
    {
        kiosk = std::make_unique<KioskHarness>(folder);
        started = kiosk->start();
        if (!started)
            return;
        kiosk->window().activateKiosk();
        if (role() == Role::DetailPicture)
            kiosk->click(kiosk->controls().btnThumbnail[2]);
        if (role() == Role::AttractSlide) {
            for (int tick = 0; tick < 2; ++tick)
                kiosk->window().attract().tick();
        }
        static_cast<void>(kiosk->window().grab());
    }

    // The kiosk still answers: the detail view opens and closes, a menu press fills a page.
    void expectKioskGoesOn()
    {
        const KioskControls& controls = kiosk->controls();
        if (controls.attractPic->isVisible())
            kiosk->click(controls.attractPic);
        EXPECT_FALSE(controls.attractPic->isVisible());
        kiosk->click(controls.btnThumbnail[1]);
        EXPECT_TRUE(controls.bigPicture->isVisible());
        kiosk->click(controls.btnControl[CloseButton]);
        EXPECT_FALSE(controls.bigPicture->isVisible());
        kiosk->click(controls.btnMenu[1]);
        EXPECT_TRUE(controls.btnThumbnail[1]->hasPicture());
        EXPECT_EQ(0, kiosk->programEnd.calls);
    }

    void expectOutcome(const PictureControl* control, const QString& path)
    {
        EXPECT_EQ(path, control->picturePath());
        if (picture().outcome == Outcome::Shown) {
            EXPECT_TRUE(control->hasPicture());
        }
        if (picture().outcome == Outcome::Blank) {
            EXPECT_FALSE(control->hasPicture());
        }
    }

    // Names that are not UTF-8 are beyond the temporary folder's own clean-up.
    void TearDown() override
    {
        kiosk.reset();
        for (const QString& path : made) {
            ::unlink(encodeFileName(path).constData());
            ::unlink((encodeFileName(path) + ".loop").constData());
        }
    }

    KioskFolder folder;
    std::unique_ptr<KioskHarness> kiosk;
    bool started = false;
    QStringList made;
};

TEST_P(BadPictures, NeitherStopsNorSwellsTheKiosk)
{
    // The standard "Item 02.jpg" and its thumbnail make way for the case's own files.
    for (const QString& stale : {QStringLiteral("Item 02.jpg"), QStringLiteral("_Item 02.jpg")})
        QFile::remove(rings() + QLatin1Char('/') + stale);
    QString badPath;
    switch (role()) {
    case Role::ProductPicture:
    case Role::DetailPicture:
        badPath = named(rings(), QStringLiteral("Item 02"));
        break;
    case Role::Thumbnail:
        made << named(rings(), QStringLiteral("Item 02"));
        writeFileBytes(made.last(), jpegBytes(64, 48));
        badPath = named(rings(), QStringLiteral("_Item 02"));
        break;
    case Role::AttractSlide:
        folder.temp().makeFolder(QStringLiteral("Kiosk/Attract"));
        folder.writeSettings(KioskFolder::standardSettings() << QStringLiteral("timeout = 2"));
        badPath = named(folder.kioskFolder() + QStringLiteral("/Attract"), QStringLiteral("slide"));
        break;
    case Role::ButtonFace:
        if (!picture().nameSuffix.isEmpty())
            GTEST_SKIP() << "a face's name is fixed";
        badPath = folder.interfaceFolder() + QStringLiteral("/btn2.jpg");
        QFile::remove(badPath);
        break;
    }
    made << badPath;
    picture().make(badPath);

    const std::int64_t heapBefore = heapInUse();
    QElapsedTimer timer;
    timer.start();
    const std::optional<std::int64_t> peak = peakGrowthDuring([this] { bringOnScreen(); });
    const qint64 elapsed = timer.elapsed();
    const std::int64_t heapAfter = heapInUse();
    std::printf("picture %-36s as %-15s %6lld ms, peak +%.1f MB, heap +%.1f MB\n", qPrintable(picture().name),
                roleName(role()), static_cast<long long>(elapsed),
                peak ? static_cast<double>(*peak) / 1e6 : -1.0,
                static_cast<double>(heapAfter - heapBefore) / 1e6);

    // A face that is no file at all is missing, and start-up ends as it does for any
    // missing face; the picture is never read.
    if (role() == Role::ButtonFace && !fileExists(badPath)) {
        EXPECT_FALSE(started);
        EXPECT_EQ(QStringList{QStringLiteral("Cannot locate JPG image btn2.jpg - Program Terminating.")},
                  kiosk->messageBox.messages);
        return;
    }
    ASSERT_TRUE(started) << kiosk->messageBox.messages.join(QLatin1Char('|')).toStdString();
    const KioskControls& controls = kiosk->controls();
    // Folder listings hold regular files only: a FIFO, a folder, a link loop or a link to a
    // device is no picture of the category or the slideshow at all.
    const bool listed = kiosk->window().catalogue().imageList().contains(badPath);
    switch (role()) {
    case Role::ProductPicture:
        if (listed)
            expectOutcome(controls.btnThumbnail[2], badPath);
        else
            EXPECT_NE(badPath, controls.btnThumbnail[2]->picturePath());
        break;
    case Role::Thumbnail:
        // An unreadable "_" copy gives way to the picture itself: the slot is never empty.
        EXPECT_TRUE(controls.btnThumbnail[2]->hasPicture());
        if (picture().outcome == Outcome::Blank) {
            EXPECT_EQ(named(rings(), QStringLiteral("Item 02")), controls.btnThumbnail[2]->picturePath());
        }
        if (picture().outcome == Outcome::Shown) {
            EXPECT_EQ(badPath, controls.btnThumbnail[2]->picturePath());
        }
        break;
    case Role::DetailPicture:
        EXPECT_TRUE(controls.bigPicture->isVisible());
        if (listed)
            expectOutcome(controls.bigPicture, badPath);
        else
            EXPECT_TRUE(controls.bigPicture->hasPicture());
        break;
    case Role::AttractSlide:
        if (isRegularFile(badPath)) {
            EXPECT_TRUE(controls.attractPic->isVisible());
            expectOutcome(controls.attractPic, badPath);
        } else {
            EXPECT_FALSE(controls.attractPic->isVisible());
        }
        break;
    case Role::ButtonFace:
        expectOutcome(controls.btnMenu[2], badPath);
        // A face whose header claims too many pixels has no size either, so it covers nothing.
        if (!PictureDecoder::pixelSize(badPath).isValid()) {
            EXPECT_EQ(QSize(0, 0), controls.btnMenu[2]->size());
        }
        break;
    }
    expectKioskGoesOn();

    if (addressSanitizerBuild() || !peak)
        return;
    EXPECT_LT(*peak, allowedGrowth + picture().decoderBytes);
    EXPECT_LT(heapAfter - heapBefore, allowedGrowth);
}

std::vector<std::tuple<QString, Role>> everyCase()
{
    std::vector<std::tuple<QString, Role>> cases;
    for (const BadPicture& picture : badPictures()) {
        for (Role role : {Role::ProductPicture, Role::Thumbnail, Role::DetailPicture, Role::AttractSlide,
                          Role::ButtonFace})
            cases.emplace_back(picture.name, role);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryRole, BadPictures, ::testing::ValuesIn(everyCase()), [](const auto& test) {
    return std::get<0>(test.param).toStdString() + "_as" + roleName(std::get<1>(test.param));
});

} // namespace

namespace {

// Where a point of the stored pixels (width × height) is shown under an EXIF orientation.
QPoint shownAt(int orientation, QPoint stored, int width, int height)
{
    const int x = stored.x();
    const int y = stored.y();
    switch (orientation) {
    case 2:
        return {width - 1 - x, y};
    case 3:
        return {width - 1 - x, height - 1 - y};
    case 4:
        return {x, height - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {height - 1 - y, x};
    case 7:
        return {height - 1 - y, width - 1 - x};
    case 8:
        return {y, width - 1 - x};
    default:
        return stored;
    }
}

} // namespace

// Camera pictures are shown upright: the stored pixels turned as their EXIF tag says.
TEST(PictureOrientation, EveryExifOrientationIsShownUpright)
{
    TempFolder temp;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString path =
            temp.write(QStringLiteral("o%1.jpg").arg(orientation), orientedJpeg(orientation));
        const QImage image = PictureDecoder::decode(path, PictureFit::NaturalSize);
        ASSERT_FALSE(image.isNull()) << orientation;
        const bool turned = orientation >= 5;
        EXPECT_EQ(turned ? QSize(32, 64) : QSize(64, 32), image.size()) << orientation;
        EXPECT_EQ(image.size(), PictureDecoder::pixelSize(path)) << orientation;
        // The stored red quadrant (top left) and white one (bottom right), where they are shown.
        const QColor red = image.pixelColor(shownAt(orientation, QPoint(16, 8), 64, 32));
        const QColor white = image.pixelColor(shownAt(orientation, QPoint(48, 24), 64, 32));
        EXPECT_TRUE(red.red() > 200 && red.green() < 60 && red.blue() < 60) << orientation;
        EXPECT_TRUE(white.red() > 200 && white.green() > 200 && white.blue() > 200) << orientation;
        // Fitted into a box it keeps its upright proportions.
        EXPECT_EQ(turned ? QSize(16, 32) : QSize(32, 16),
                  PictureDecoder::decode(path, PictureFit::Inside, QSize(32, 32)).size())
            << orientation;
    }
}

TEST(PictureDecoderLimits, JpegLibraryMemoryIsCappedAsInTheKiosk)
{
    EXPECT_EQ(QByteArray(PictureDecoder::jpegMemoryLimit), qgetenv("JPEGMEM"));
}

TEST(PictureDecoderLimits, PictureClaimingTooManyPixelsHasNoSize)
{
    TempFolder temp;
    const QString huge =
        temp.write(QStringLiteral("huge.jpg"), withClaimedSize(photoJpeg(64, 64, false, 1), 65000, 65000));
    const QString large =
        temp.write(QStringLiteral("large.jpg"), withClaimedSize(photoJpeg(64, 64, false, 1), 12000, 9000));
    EXPECT_FALSE(PictureDecoder::pixelSize(huge).isValid());
    EXPECT_TRUE(PictureDecoder::decode(huge, PictureFit::Inside, QSize(800, 600)).isNull());
    EXPECT_EQ(QSize(12000, 9000), PictureDecoder::pixelSize(large));
}
