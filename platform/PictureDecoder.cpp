#include "platform/PictureDecoder.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QImageReader>
#include <sys/stat.h>
#include <unistd.h>

namespace quindle {

namespace {

// Opens a picture through its descriptor, so that names that are not valid UTF-8 open too.
bool openPicture(QFile& file, const QString& path)
{
    const int descriptor = openForReading(path);
    if (descriptor < 0)
        return false;
    if (file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(descriptor);
    return false;
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

// A least-recently-used cache bounded by the bytes of the images it holds.
class DecodedCache
{
public:
    static constexpr qsizetype byteBudget = 64 * 1024 * 1024;

    bool find(const CacheKey& key, QImage& image)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_index.find(key);
        if (found == m_index.end())
            return false;
        m_entries.splice(m_entries.begin(), m_entries, found->second);
        image = found->second->second;
        return true;
    }

    void insert(const CacheKey& key, const QImage& image)
    {
        std::lock_guard lock(m_mutex);
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

    void clear()
    {
        std::lock_guard lock(m_mutex);
        m_entries.clear();
        m_index.clear();
        m_bytes = 0;
    }

private:
    using Entry = std::pair<CacheKey, QImage>;
    std::mutex m_mutex;
    std::list<Entry> m_entries;
    std::unordered_map<CacheKey, std::list<Entry>::iterator, CacheKeyHash> m_index;
    qsizetype m_bytes = 0;
};

DecodedCache& decodedCache()
{
    static DecodedCache cache;
    return cache;
}

} // namespace

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
    return uprightSize(reader);
}

QImage PictureDecoder::decode(const QString& path, PictureFit fit, QSize target)
{
    QFile file;
    if (!openPicture(file, path))
        return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize upright = uprightSize(reader);
    if (!upright.isValid() || static_cast<std::int64_t>(upright.width()) * upright.height() > maximumPixels)
        return {};
    if (fit == PictureFit::Inside) {
        QSize scaled = fitInside(upright, target);
        if (!scaled.isValid())
            return {};
        // The reader scales before it rotates: hand it the size in the file's own orientation.
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            scaled.transpose();
        reader.setScaledSize(scaled);
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image;
}

QImage PictureDecoder::decodeCached(const QString& path, PictureFit fit, QSize target)
{
    struct stat info
    {
    };
    if (::stat(encodeFileName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const std::int64_t modified =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    const CacheKey key{path, static_cast<int>(fit), target.width(), target.height(), info.st_size, modified};
    QImage image;
    if (decodedCache().find(key, image))
        return image;
    image = decode(path, fit, target);
    if (!image.isNull())
        decodedCache().insert(key, image);
    return image;
}

void PictureDecoder::clearCache()
{
    decodedCache().clear();
}

} // namespace quindle
