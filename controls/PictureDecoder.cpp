#include "controls/PictureDecoder.h"

#include "controls/ProgressiveJpeg.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QFuture>
#include <QImageReader>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace quindle {

namespace {

// Opens a picture through its descriptor, so that names that are not valid UTF-8 open too.
// Only a regular file is read: a FIFO, a device or a folder named like a picture would
// block the kiosk or never end. The open itself does not wait for a FIFO's writer.
bool openPicture(QFile& file, const QString& path)
{
    const int descriptor = ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return false;
    }
    if (file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(descriptor);
    return false;
}

// A picture file whose reads fail once cancel is set: the JPEG library then sees the file end,
// finishes the picture at once without its data, and the decode is thrown away.
class CancellableFile final : public QIODevice
{
public:
    CancellableFile(QFile& file, const std::atomic<bool>* cancel) : m_file(file), m_cancel(cancel)
    {
        QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_file.size(); }
    bool seek(qint64 position) override { return QIODevice::seek(position) && m_file.seek(position); }

protected:
    qint64 readData(char* data, qint64 count) override
    {
        if (m_cancel && m_cancel->load(std::memory_order_relaxed))
            return -1;
        return m_file.read(data, count);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile& m_file;
    const std::atomic<bool>* m_cancel;
};

bool tooLarge(QSize size)
{
    return static_cast<std::int64_t>(size.width()) * size.height() > PictureDecoder::maximumPixels;
}

// Turns a picture decoded as it is stored upright, as the reader would: mirrored first, then
// turned a quarter clockwise.
QImage upright(const QImage& stored, QImageIOHandler::Transformations turn)
{
    QImage image = stored.mirrored(turn & QImageIOHandler::TransformationMirror,
                                   turn & QImageIOHandler::TransformationFlip);
    if (turn & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

QSize uprightSize(QImageReader& reader)
{
    QSize size = reader.size();
    if (!size.isValid())
        return {};
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

struct CacheKey
{
    QString path;
    int fit;
    int width;
    int height;
    std::int64_t fileSize;
    std::int64_t modified;

    bool operator==(const CacheKey&) const = default;
};

struct CacheKeyHash
{
    size_t operator()(const CacheKey& key) const
    {
        return qHash(key.path) ^ (static_cast<size_t>(key.width) << 20) ^ static_cast<size_t>(key.height) ^
               static_cast<size_t>(key.modified) ^ static_cast<size_t>(key.fit);
    }
};

} // namespace

// A least-recently-used cache bounded by the bytes of the images it holds, with the
// decodes still running on worker threads.
class PictureDecoder::Cache
{
public:
    static constexpr qsizetype byteBudget = 64 * 1024 * 1024;

    Cache() { m_background.setMaxThreadCount(1); }

    bool contains(const CacheKey& key)
    {
        std::lock_guard lock(m_mutex);
        return m_index.contains(key);
    }

    // The cached image, or the running decode to wait for.
    bool find(const CacheKey& key, QImage& image, QFuture<QImage>& running)
    {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_index.find(key); found != m_index.end()) {
            m_entries.splice(m_entries.begin(), m_entries, found->second);
            image = found->second->second;
            return true;
        }
        if (const auto pending = m_running.find(key); pending != m_running.end()) {
            running = pending->second;
            return true;
        }
        return false;
    }

    // Starts a decode unless the picture is cached or already being decoded.
    void start(const CacheKey& key, const std::function<QImage()>& decode)
    {
        std::lock_guard lock(m_mutex);
        if (m_index.contains(key) || m_running.contains(key))
            return;
        m_running.emplace(key, QtConcurrent::run(&m_pool, [this, key, decode] {
                              QImage image = decode();
                              finish(key, image);
                              return image;
                          }));
    }

    void insert(const CacheKey& key, const QImage& image)
    {
        std::lock_guard lock(m_mutex);
        insertLocked(key, image);
    }

    void startInBackground(const std::function<void()>& work) { m_background.start(work); }
    void dropBackground() { m_background.clear(); }
    void waitForBackground() { m_background.waitForDone(); }

    void clear()
    {
        m_pool.waitForDone();
        m_background.waitForDone();
        std::lock_guard lock(m_mutex);
        m_entries.clear();
        m_index.clear();
        m_running.clear();
        m_bytes = 0;
    }

private:
    void finish(const CacheKey& key, const QImage& image)
    {
        std::lock_guard lock(m_mutex);
        m_running.erase(key);
        if (!image.isNull())
            insertLocked(key, image);
    }

    void insertLocked(const CacheKey& key, const QImage& image)
    {
        if (image.sizeInBytes() > byteBudget / 4 || m_index.contains(key))
            return;
        m_entries.emplace_front(key, image);
        m_index.emplace(key, m_entries.begin());
        m_bytes += image.sizeInBytes();
        while (m_bytes > byteBudget && !m_entries.empty()) {
            m_bytes -= m_entries.back().second.sizeInBytes();
            m_index.erase(m_entries.back().first);
            m_entries.pop_back();
        }
    }

    using Entry = std::pair<CacheKey, QImage>;
    std::mutex m_mutex;
    std::list<Entry> m_entries;
    std::unordered_map<CacheKey, std::list<Entry>::iterator, CacheKeyHash> m_index;
    std::unordered_map<CacheKey, QFuture<QImage>, CacheKeyHash> m_running;
    qsizetype m_bytes = 0;
    // Last, so that the threads are stopped before the entries they fill are gone.
    QThreadPool m_pool;
    QThreadPool m_background;
};

QSize fitInside(QSize source, QSize target)
{
    if (!source.isValid() || source.isEmpty() || !target.isValid() || target.isEmpty())
        return {};
    QSize fitted = source.scaled(target, Qt::KeepAspectRatio);
    if (fitted.width() > source.width() || fitted.height() > source.height())
        fitted = source;
    return fitted.expandedTo(QSize(1, 1));
}

QSize PictureDecoder::pixelSize(const QString& path)
{
    QFile file;
    if (!openPicture(file, path))
        return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize size = uprightSize(reader);
    return tooLarge(size) ? QSize() : size;
}

QImage PictureDecoder::decode(const QString& path, PictureFit fit, QSize target)
{
    return decode(path, fit, target, nullptr);
}

QImage PictureDecoder::decode(const QString& path, PictureFit fit, QSize target,
                              const std::atomic<bool>* cancel, DecoderShortcuts shortcuts)
{
    QFile file;
    if (!openPicture(file, path))
        return {};
    CancellableFile device(file, cancel);
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    const QSize upright = uprightSize(reader);
    if (!upright.isValid() || tooLarge(upright))
        return {};
    if (fit == PictureFit::Inside) {
        QSize scaled = fitInside(upright, target);
        if (!scaled.isValid())
            return {};
        // The reader scales before it rotates: hand it the size in the file's own orientation.
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            scaled.transpose();
        if (shortcuts == DecoderShortcuts::Taken) {
            if (std::optional<QImage> image = decodeFromFirstScans(device, reader, scaled, cancel))
                return *image;
        }
        reader.setScaledSize(scaled);
        // A picture shrunk to half its size or less loses nothing visible to the JPEG
        // library's fast transform and plain upsampling, and decodes markedly faster.
        if (scaled.width() * 2 <= upright.width() || scaled.height() * 2 <= upright.height())
            reader.setQuality(49);
    }
    return reader.read();
}

// A progressive picture shown at an eighth of its size or less is decoded from the scans
// that carry its blocks' mean colours, a fraction of the file; every other picture (and a
// larger size, the detail view's) is left to the reader.
std::optional<QImage> PictureDecoder::decodeFromFirstScans(QIODevice& file, QImageReader& reader,
                                                           QSize scaled, const std::atomic<bool>* cancel)
{
    const QSize stored = reader.size();
    if (scaled.width() * 8 > stored.width() || scaled.height() * 8 > stored.height())
        return std::nullopt;
    const qint64 afterHeader = file.pos();
    if (!file.seek(0))
        return std::nullopt;
    std::optional<QImage> eighth = decodeProgressiveEighth(file, cancel);
    if (!eighth) {
        file.seek(afterHeader);
        return std::nullopt;
    }
    if (eighth->isNull())
        return QImage();
    if (eighth->size() != scaled)
        *eighth = eighth->scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return upright(*eighth, reader.transformation());
}

namespace {

std::optional<CacheKey> cacheKeyOf(const QString& path, PictureFit fit, QSize target)
{
    struct stat info
    {
    };
    if (::stat(encodeFileName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const std::int64_t modified =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return CacheKey{path, static_cast<int>(fit), target.width(), target.height(), info.st_size, modified};
}

} // namespace

PictureDecoder::PictureDecoder() : m_cache(std::make_unique<Cache>()) {}

PictureDecoder::~PictureDecoder()
{
    cancelBackground();
}

QImage PictureDecoder::decodeCounted(const QString& path, PictureFit fit, QSize target,
                                     const std::atomic<bool>* cancel)
{
    ++m_decodes;
    QImage image = decode(path, fit, target, cancel, m_shortcuts);
    if (image.isNull() && fileExists(path) && !(cancel && cancel->load()))
        ++m_failures;
    return image;
}

QImage PictureDecoder::decodeCached(const QString& path, PictureFit fit, QSize target)
{
    const std::optional<CacheKey> key = cacheKeyOf(path, fit, target);
    if (!key)
        return {};
    QImage image;
    QFuture<QImage> running;
    if (m_cache->find(*key, image, running))
        return running.isValid() ? running.result() : image;
    image = decodeCounted(path, fit, target);
    if (!image.isNull())
        m_cache->insert(*key, image);
    return image;
}

void PictureDecoder::prefetch(const QStringList& paths, PictureFit fit, QSize target)
{
    for (const QString& path : paths) {
        if (const std::optional<CacheKey> key = cacheKeyOf(path, fit, target))
            m_cache->start(*key, [this, path, fit, target] { return decodeCounted(path, fit, target); });
    }
}

// A progressive JPEG keeps every coefficient of the whole picture in memory while it is
// read, whatever size it is decoded at: about 2 bytes a pixel for each colour component,
// allocated by libjpeg outside Qt's allocation limit. libjpeg-turbo takes its limit from
// the environment each time it starts on a picture; its memory manager cannot spill to a
// temporary file, so a picture that needs more than the limit is refused at once instead
// of being decoded. 256 MB keeps a 24-megapixel progressive picture with full colour
// resolution (144 MB) and refuses what only a broken or hostile file claims.
bool PictureDecoder::limitJpegMemory()
{
    return ::setenv("JPEGMEM", jpegMemoryLimit, 1) == 0;
}

void PictureDecoder::prefetchInBackground(const QStringList& pictures,
                                          const std::function<QString(const QString&)>& fileOf,
                                          PictureFit fit, QSize target)
{
    cancelBackground();
    if (m_shortcuts == DecoderShortcuts::Left)
        return;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_backgroundCancel = cancel;
    for (const QString& picture : pictures) {
        m_cache->startInBackground([this, cancel, picture, fileOf, fit, target] {
            if (cancel->load())
                return;
            const QString path = fileOf(picture);
            const std::optional<CacheKey> key = cacheKeyOf(path, fit, target);
            if (!key || m_cache->contains(*key))
                return;
            const QImage image = decodeCounted(path, fit, target, cancel.get());
            // A picture given up half-way may be incomplete: it is never kept.
            if (!image.isNull() && !cancel->load())
                m_cache->insert(*key, image);
        });
    }
}

void PictureDecoder::cancelBackground()
{
    if (m_backgroundCancel)
        m_backgroundCancel->store(true);
    m_cache->dropBackground();
}

void PictureDecoder::stopBackground()
{
    cancelBackground();
    m_cache->waitForBackground();
}

void PictureDecoder::waitForBackground()
{
    m_cache->waitForBackground();
}

void PictureDecoder::clearCache()
{
    cancelBackground();
    m_cache->clear();
}

} // namespace quindle
