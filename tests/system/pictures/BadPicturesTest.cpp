#include "system/pictures/ProcessMemory.h"

#include "catalogue/Catalogue.h"
#include "controls/PictureDecoder.h"
#include "platform/FileSystem.h"
#include "support/KioskHarness.h"

#include <QPainter>
#include <QRandomGenerator>
#include <fstream>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// A photo-like JPEG made with libjpeg-turbo: a ramp with noise, so that the scan data is real.
QByteArray photoJpeg(int width, int height, int flags = 0, int subsampling = TJSAMP_420,
                     int format = TJPF_RGB)
{
    const auto channels = static_cast<size_t>(tjPixelSize[format]);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * channels);
    QRandomGenerator noise(7);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(
            i / channels % static_cast<size_t>(width) * 200 / static_cast<size_t>(width) + noise.bounded(64));
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, pixels.data(), width, 0, height, format, &jpeg, &size, subsampling, 85, flags);
    const QByteArray bytes(reinterpret_cast<const char*>(jpeg), static_cast<qsizetype>(size));
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

// The JPEG with its frame header's height and width replaced. The header is the first segment
// marked FF C0 (baseline) or FF C2 (progressive); scan data never holds either.
QByteArray claimingSize(QByteArray jpeg, int width, int height)
{
    const qsizetype frame = std::max(jpeg.indexOf("\xff\xc0"), jpeg.indexOf("\xff\xc2"));
    const char size[] = {char(height >> 8), char(height & 0xff), char(width >> 8), char(width & 0xff)};
    return jpeg.replace(frame + 5, 4, size, 4);
}

// A category lists regular files only: a FIFO is seen as one in the folder's listing, a link is
// followed to what it names.
enum class Kind { File, Fifo, LinkToDevice };

struct BadFile
{
    const char* name;
    bool shown; // the picture controls show a picture, not nothing
    QByteArray bytes = {};
    Kind kind = Kind::File;
    // What the JPEG library may hold whatever the size shown: a progressive picture's
    // coefficients, 2 bytes a sample.
    std::int64_t decoderBytes = 0;
    QByteArray nameSuffix = {}; // inserted before ".jpg": bytes that are not UTF-8
};

// The kiosk's window is 800×600: no control shows more. Decoding a picture for it may take the
// picture at up to twice the width and height (the scaled decode), the fitted result and the
// screen's copy; the rest is the window's own work.
constexpr std::int64_t allowedGrowth = 6 * 800 * 600 * 4 + 24 * 1024 * 1024;

} // namespace

// Every bad file stands first among the pictures of a category: its thumbnail slot is filled at
// start-up and a press opens it in the detail view. The kiosk goes on and stays within its window.
TEST(BadPictures, NeitherStopTheKioskNorSwellIt)
{
    TempFolder temp;
    QImage green(64, 48, QImage::Format_RGB32);
    green.fill(Qt::green);
    green.save(temp.filePath(QStringLiteral("green.png")));
    const QByteArray medium = photoJpeg(1600, 1200);
    QByteArray corrupt = medium; // scan data overwritten with noise from a third of the way on
    QRandomGenerator random(12345);
    for (qsizetype i = corrupt.size() / 3; i < corrupt.size() - 2; i += 7)
        corrupt[i] = static_cast<char>(random.generate());
    const BadFile files[] = {
        {"Corrupt", false, corrupt},
        {"CutInHalf", true, medium.left(medium.size() / 2)},
        {"Empty", false},
        {"PngNamedJpg", true, temp.read(QStringLiteral("green.png"))},
        {"Cmyk", true, photoJpeg(800, 600, 0, TJSAMP_444, TJPF_CMYK)},
        {"Photo48Megapixels", true, photoJpeg(8000, 6000)},
        {"Progressive24MegapixelsFullColour", true, photoJpeg(6000, 4000, TJFLAG_PROGRESSIVE, TJSAMP_444),
         Kind::File, 24'000'000 * 3 * 2},
        {"HeaderClaims65000Square", false, claimingSize(photoJpeg(64, 64), 65000, 65000)},
        {"Progressive4KBClaims99Megapixels", false,
         claimingSize(photoJpeg(48, 48, TJFLAG_PROGRESSIVE), 11000, 9000)},
        {"NameNotUtf8", true, jpegBytes(64, 48), Kind::File, 0, QByteArray("\xff\xe9", 2)},
        {"Fifo", false, {}, Kind::Fifo},
        {"LinkToDevice", false, {}, Kind::LinkToDevice},
    };
    KioskFolder plain; // fonts, plug-ins and the painting machinery are loaded outside the measurements
    plain.writeStandardKiosk();
    ASSERT_TRUE(KioskHarness(plain).start());
    for (const BadFile& file : files) {
        SCOPED_TRACE(file.name);
        KioskFolder folder;
        folder.writeStandardKiosk();
        const QString rings = folder.kioskFolder() + QStringLiteral("/Rings/");
        // Written through the name's bytes, so that a name that is not UTF-8 is written as it is.
        const QByteArray name = encodeFileName(rings) + "Item 00" + file.nameSuffix + ".jpg";
        if (file.kind == Kind::File)
            std::ofstream(name.constData(), std::ios::binary) << file.bytes.toStdString();
        if (file.kind == Kind::Fifo)
            ::mkfifo(name.constData(), 0644);
        if (file.kind == Kind::LinkToDevice)
            ::symlink("/dev/zero", name.constData());

        const std::int64_t heapBefore = heapInUse();
        KioskHarness kiosk(folder);
        const KioskControls& controls = kiosk.controls();
        ASSERT_TRUE(kiosk.start()) << kiosk.messageBox.messages.join(QLatin1Char('|')).toStdString();
        const std::int64_t peak = peakGrowthDuring([&] {
            kiosk.click(controls.btnThumbnail[1]); // the detail view decodes it at its largest
            static_cast<void>(kiosk.window().grab());
        });
        const QString bad = decodeFileName(name);
        const bool listed = file.kind == Kind::File;
        EXPECT_EQ(listed, kiosk.window().catalogue().imageList().contains(bad));
        EXPECT_EQ(listed ? bad : rings + QStringLiteral("_Item 01.jpg"),
                  controls.btnThumbnail[1]->picturePath());
        EXPECT_EQ(listed ? bad : rings + QStringLiteral("Item 01.jpg"), controls.bigPicture->picturePath());
        EXPECT_EQ(file.shown || !listed, controls.btnThumbnail[1]->hasPicture());
        EXPECT_EQ(file.shown || !listed, controls.bigPicture->hasPicture());

        kiosk.click(controls.btnMenu[2]);
        EXPECT_EQ(QStringLiteral("_Item 01.jpg"), KioskHarness::shownFile(controls.btnThumbnail[1]));
        EXPECT_EQ(0, kiosk.programEnd.calls);
        ::unlink(name.constData()); // a name that is not UTF-8 is beyond the folder's own clean-up
        if (addressSanitizerBuild())
            continue; // its shadow memory and quarantine make the process's figures meaningless
        EXPECT_LT(peak, allowedGrowth + file.decoderBytes);
        EXPECT_LT(heapInUse() - heapBefore, allowedGrowth);
    }
}

// Camera pictures are shown upright: the stored pixels turned as their EXIF tag says. The picture
// is 64×32 with red at the top left; the size shown and where the red is shown. Turning by half a
// turn keeps the size, by a quarter turn swaps it.
TEST(PictureOrientation, TurnedPicturesAreShownUpright)
{
    const std::tuple<int, QSize, QPoint> cases[] = {{3, {64, 32}, {48, 24}}, {6, {32, 64}, {24, 16}}};
    QImage stored(64, 32, QImage::Format_RGB32);
    stored.fill(Qt::white);
    QPainter(&stored).fillRect(0, 0, 32, 16, Qt::red);
    TempFolder temp;
    stored.save(temp.filePath(QStringLiteral("plain.jpg")), "JPEG", 95);
    const QByteArray jpeg = temp.read(QStringLiteral("plain.jpg"));
    for (const auto& [orientation, shown, red] : cases) {
        SCOPED_TRACE(orientation);
        // An APP1 segment holding a big-endian TIFF directory with the one orientation entry.
        QByteArray exif("\xff\xe1\x00\x22"
                        "Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\0\0\0\0\0\0\0",
                        36);
        exif[4 + 6 + 8 + 2 + 8 + 1] = static_cast<char>(orientation);
        const QString path = temp.write(QStringLiteral("turned.jpg"), jpeg.left(2) + exif + jpeg.mid(2));
        const QImage image = PictureDecoder::decode(path, PictureFit::NaturalSize);
        EXPECT_EQ(shown, image.size());
        EXPECT_GT(qRed(image.pixel(red)) - qGreen(image.pixel(red)), 150) << "red where it is shown";
        EXPECT_EQ(shown / 2, PictureDecoder::decode(path, PictureFit::Inside, QSize(32, 32)).size());
    }
}
