#include "system/pictures/ProcessMemory.h"

#include "catalogue/Catalogue.h"
#include "controls/PictureDecoder.h"
#include "platform/FileSystem.h"
#include "support/KioskHarness.h"

#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

enum Coding { Baseline = 0, Progressive = 1, FullColour = 2 };

// A photo-like JPEG written through libjpeg: ramps with noise, so that the scan data is real. Its
// chroma is halved both ways unless it is in full colour; a scan script replaces the default scans.
QByteArray photoJpeg(int width, int height, int coding = Baseline, J_COLOR_SPACE space = JCS_RGB,
                     const std::vector<jpeg_scan_info>& script = {})
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &bytes, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    if (coding & Progressive)
        jpeg_simple_progression(&info);
    if (coding & FullColour)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    info.scan_info = script.empty() ? info.scan_info : script.data();
    info.num_scans = script.empty() ? info.num_scans : static_cast<int>(script.size());
    jpeg_start_compress(&info, TRUE);
    const auto channels = static_cast<size_t>(info.input_components);
    std::vector<JSAMPLE> line(static_cast<size_t>(width) * channels);
    QRandomGenerator noise(7);
    for (JSAMPROW row = line.data(); info.next_scanline < info.image_height;) {
        for (size_t i = 0; i < line.size(); ++i) {
            const size_t ramp = i / channels * 200 / static_cast<size_t>(width);
            const size_t channel[] = {ramp, 200 - ramp, ramp / 2, ramp};
            line[i] = static_cast<JSAMPLE>(channel[i % channels] + noise.bounded(64));
        }
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray jpeg(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    std::free(bytes);
    return jpeg;
}

// The JPEG with its frame header's height and width replaced. The header is the first segment
// marked FF C0 (baseline) or FF C2 (progressive); scan data never holds either.
QByteArray claimingSize(QByteArray jpeg, int width, int height)
{
    const qsizetype frame = std::max(jpeg.indexOf("\xff\xc0"), jpeg.indexOf("\xff\xc2"));
    const char size[] = {char(height >> 8), char(height & 0xff), char(width >> 8), char(width & 0xff)};
    return jpeg.replace(frame + 5, 4, size, 4);
}

// A progressive JPEG of 320×240 written with the given scan script, less the scan numbered leftOut
// (from 0). A scan runs from its SOS marker to the next marker that is not a stuffed byte or a restart.
QByteArray scriptedJpeg(const std::vector<jpeg_scan_info>& script, int leftOut = -1)
{
    QByteArray jpeg = photoJpeg(320, 240, Baseline, JCS_RGB, script);
    qsizetype scan = -1;
    for (int n = 0; n <= leftOut; ++n)
        scan = jpeg.indexOf("\xff\xda", scan + 1);
    qsizetype end = scan + 2;
    while (scan >= 0 && !(jpeg[end] == '\xff' && jpeg[end + 1] != 0 && (jpeg[end + 1] & 0xf8) != 0xd0))
        ++end;
    return scan < 0 ? jpeg : jpeg.remove(scan, end - scan);
}

// Scans of every AC coefficient on its own for each component, after one DC scan: 190 scans.
std::vector<jpeg_scan_info> everyCoefficientAlone()
{
    std::vector<jpeg_scan_info> script{{3, {0, 1, 2, 0}, 0, 0, 0, 0}};
    for (int component = 0; component < 3; ++component) {
        for (int k = 1; k < 64; ++k)
            script.push_back({1, {component, 0, 0, 0}, k, k, 0, 0});
    }
    return script;
}

// A category lists regular files only: a link is followed to what it names.
enum class Kind { File, LinkToDevice };

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
        {"Cmyk", true, photoJpeg(800, 600, Baseline, JCS_CMYK)},
        {"Photo48Megapixels", true, photoJpeg(8000, 6000)},
        {"Progressive24MegapixelsFullColour", true, photoJpeg(6000, 4000, Progressive | FullColour),
         Kind::File, 24'000'000 * 3 * 2},
        {"HeaderClaims65000Square", false, claimingSize(photoJpeg(64, 64), 65000, 65000)},
        {"Progressive4KBClaims99Megapixels", false,
         claimingSize(photoJpeg(48, 48, Progressive), 11000, 9000)},
        {"ProgressiveCutShort", true, photoJpeg(1600, 1200, Progressive).left(medium.size() / 3)},
        {"Progressive190Scans", true, scriptedJpeg(everyCoefficientAlone())},
        // The third scan, the DC of the second chroma component, is cut out of the file.
        {"ProgressiveNeverAllDc", true,
         scriptedJpeg({{1, {0}, 0, 0, 0, 0},
                       {1, {1}, 0, 0, 0, 0},
                       {1, {2}, 0, 0, 0, 0},
                       {1, {0}, 1, 63, 0, 0},
                       {1, {1}, 1, 63, 0, 0},
                       {1, {2}, 1, 63, 0, 0}},
                      2)},
        {"NameNotUtf8", true, jpegBytes(64, 48), Kind::File, 0, QByteArray("\xff\xe9", 2)},
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

// A progressive picture shown at an eighth of its size or less comes from its first scans: the
// size asked for, the colours of the whole decode. Any other picture or size decodes as the Qt
// reader's scaled decode does.
TEST(PictureDecoder, SmallProgressivePicturesComeFromTheirFirstScans)
{
    const struct
    {
        const char* name;
        QByteArray jpeg;
        QSize target;
        QSize shown;
        bool firstScans;
    } cases[] = {
        {"Progressive420", photoJpeg(1600, 1200, Progressive), {200, 200}, {200, 150}, true},
        {"Progressive444", photoJpeg(1600, 1200, Progressive | FullColour), {90, 90}, {90, 67}, true},
        {"Grey", photoJpeg(1600, 1200, Progressive, JCS_GRAYSCALE), {160, 160}, {160, 120}, true},
        {"ProgressiveAtAQuarter", photoJpeg(1600, 1200, Progressive), {400, 300}, {400, 300}, false},
        {"Baseline", photoJpeg(1600, 1200), {160, 120}, {160, 120}, false},
    };
    TempFolder temp;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const QString path = temp.write(QStringLiteral("picture.jpg"), row.jpeg);
        const QImage image = PictureDecoder::decode(path, PictureFit::Inside, row.target);
        ASSERT_EQ(row.shown, image.size());
        if (!row.firstScans) {
            QImageReader reader(path);
            reader.setScaledSize(row.shown);
            reader.setQuality(49);
            EXPECT_EQ(reader.read().convertToFormat(image.format()), image);
            continue;
        }
        const QImage shown = image.convertToFormat(QImage::Format_RGB888);
        const QImage expected = QImage(path)
                                    .scaled(row.shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                    .convertToFormat(QImage::Format_RGB888);
        std::int64_t difference = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int i = 0; i < shown.width() * 3; ++i)
                difference += std::abs(shown.constScanLine(y)[i] - expected.constScanLine(y)[i]);
        }
        EXPECT_LT(difference / (3 * image.width() * image.height()), 4)
            << "mean difference of a colour channel";
    }
}
