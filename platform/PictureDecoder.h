#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <list>
#include <mutex>
#include <unordered_map>

namespace quindle {

// How a picture is fitted when it is decoded.
enum class PictureFit {
    NaturalSize, // the picture's own pixel size
    Inside,      // scaled to lie inside the target size, proportions kept
};

// Decodes JPEG (and other) pictures at the size they are shown, so that the JPEG
// library's scaled decoding does the work, upright by their EXIF orientation. A picture
// that cannot be read gives a null image; nothing here ever stops the kiosk.
class PictureDecoder
{
public:
    // Pictures whose header claims more pixels than this are refused before decoding:
    // the JPEG library's own buffers for such a picture lie outside Qt's allocation limit.
    static constexpr std::int64_t maximumPixels = 120'000'000;
    // The most memory libjpeg may take for one picture, in its own notation (megabytes of
    // 1,000,000 bytes), set for the whole program before main.
    static constexpr const char* jpegMemoryLimit = "256m";
    static bool jpegMemoryIsLimited();

    // The pixel size as the file's header gives it (upright), or an invalid size, also for
    // a picture that claims more than maximumPixels: it will never be shown.
    static QSize pixelSize(const QString& path);

    // Decodes the picture. With PictureFit::Inside the result lies inside target (never
    // larger than the picture itself).
    static QImage decode(const QString& path, PictureFit fit, QSize target = {});

    // The same through a small in-memory cache of recent results, keyed by path, target,
    // file size and modification time: a page shown again costs no decoding.
    static QImage decodeCached(const QString& path, PictureFit fit, QSize target = {});

    // Starts decoding the pictures on worker threads, one for each core, so that a page of
    // pictures is decoded side by side; decodeCached then waits for the one it needs.
    static void prefetch(const QStringList& paths, PictureFit fit, QSize target);

    static void clearCache();

    // How many pictures have been decoded so far (cache hits do not count).
    static std::int64_t decodeCount();
    // How many of the pictures opened for decoding could not be decoded.
    static std::int64_t failureCount();
};

// The size that a picture of size source takes inside target, proportions kept.
QSize fitInside(QSize source, QSize target);

} // namespace quindle
