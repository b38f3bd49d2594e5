#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QImageReader;

namespace quindle {

// How a picture is fitted when it is decoded.
enum class PictureFit {
    NaturalSize, // the picture's own pixel size
    Inside,      // scaled to lie inside the target size, proportions kept
};

// Whether the decoder takes its shortcuts: progressive pictures decoded from their first scans
// for a small size, and pictures decoded in the background before they are asked for. Without
// them it decodes as plainly as a benchmark's baseline needs.
enum class DecoderShortcuts { Taken, Left };

// Decodes JPEG (and other) pictures at the size they are shown, so that the JPEG
// library's scaled decoding does the work, upright by their EXIF orientation. A picture
// that cannot be read gives a null image; nothing here ever stops the kiosk.
//
// A decoder object keeps a cache of recent results and the worker threads that decode a
// page of pictures side by side; the kiosk window owns one and hands it to its picture
// controls. Reading a header or decoding once needs no object.
class PictureDecoder
{
public:
    // Pictures whose header claims more pixels than this are refused before decoding:
    // the JPEG library's own buffers for such a picture lie outside Qt's allocation limit.
    static constexpr std::int64_t maximumPixels = 120'000'000;
    // The most memory libjpeg may take for one picture, in its own notation (megabytes of
    // 1,000,000 bytes).
    static constexpr const char* jpegMemoryLimit = "256m";
    // Sets that limit for the whole program: a program that decodes pictures calls it first
    // thing in main, while it has a single thread. True when the limit is set.
    static bool limitJpegMemory();

    // The pixel size as the file's header gives it (upright), or an invalid size, also for
    // a picture that claims more than maximumPixels: it will never be shown.
    static QSize pixelSize(const QString& path);

    // Decodes the picture. With PictureFit::Inside the result lies inside target (never
    // larger than the picture itself).
    static QImage decode(const QString& path, PictureFit fit, QSize target = {});
    // The same, given up once cancel is set: the file then seems to end where it is, and what
    // comes back (a null or an unfinished picture) is not to be shown.
    static QImage decode(const QString& path, PictureFit fit, QSize target, const std::atomic<bool>* cancel,
                         DecoderShortcuts shortcuts = DecoderShortcuts::Taken);

    PictureDecoder();
    // Waits for the decodes still running on the worker threads.
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // Decodes through a small in-memory cache of recent results, keyed by path, target,
    // file size and modification time: a page shown again costs no decoding.
    QImage decodeCached(const QString& path, PictureFit fit, QSize target = {});

    // Starts decoding the pictures on worker threads, one for each core, so that a page of
    // pictures is decoded side by side; decodeCached then waits for the one it needs.
    void prefetch(const QStringList& paths, PictureFit fit, QSize target);

    // Decodes the pictures one after another into the cache on a thread of its own, while the
    // kiosk has nothing else to do: any press cancels it at once, and a decode cancelled stops
    // at the next read of its file. fileOf names the file decoded for each picture (its
    // thumbnail, say); it is asked on that thread too, as it may read a folder. The pictures
    // of an earlier call that are not decoded yet are dropped.
    void prefetchInBackground(const QStringList& pictures,
                              const std::function<QString(const QString&)>& fileOf, PictureFit fit,
                              QSize target);
    // Drops the background decodes not started yet and gives up the one running, without
    // waiting for it.
    void cancelBackground();
    // The same, then waits the moment the decode running takes to stop: a 24-megapixel
    // progressive picture holds 72 MB of libjpeg's memory until it does.
    void stopBackground();

    // Waits for the background decodes asked for to end.
    void waitForBackground();

    void setShortcuts(DecoderShortcuts shortcuts) { m_shortcuts = shortcuts; }

    // Empties the cache once every decode started has ended.
    void clearCache();

    // How many decodes this decoder has run so far (cache hits do not count).
    std::int64_t decodeCount() const { return m_decodes.load(); }
    // How many of the pictures it was asked for exist but could not be decoded.
    std::int64_t failureCount() const { return m_failures.load(); }

private:
    class Cache;

    static std::optional<QImage> decodeFromFirstScans(QIODevice& file, QImageReader& reader, QSize scaled,
                                                      const std::atomic<bool>* cancel);

    QImage decodeCounted(const QString& path, PictureFit fit, QSize target,
                         const std::atomic<bool>* cancel = nullptr);

    std::atomic<std::int64_t> m_decodes{0};
    std::atomic<std::int64_t> m_failures{0};
    DecoderShortcuts m_shortcuts = DecoderShortcuts::Taken;
    // Set to give up the background decodes asked for together; each call has its own.
    std::shared_ptr<std::atomic<bool>> m_backgroundCancel;
    // Last, so that it is gone, with every decode it started, before the counts are.
    std::unique_ptr<Cache> m_cache;
};

// The size that a picture of size source takes inside target, proportions kept.
QSize fitInside(QSize source, QSize target);

} // namespace quindle
