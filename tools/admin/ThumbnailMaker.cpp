#include "tools/admin/ThumbnailMaker.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FolderListing.h"
#include "controls/PictureDecoder.h"
#include "platform/FileSystem.h"

#include <QBuffer>
#include <QImageWriter>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quindle::admin {

namespace {

std::optional<timespec> modificationTime(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(encodeFileName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return info.st_mtim;
}

bool newerOrSame(const timespec& a, const timespec& b)
{
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec >= b.tv_nsec);
}

bool isUpToDate(const ThumbnailJob& job)
{
    const std::optional<timespec> thumbnail = modificationTime(job.thumbnail);
    const std::optional<timespec> picture = modificationTime(job.picture);
    return thumbnail && picture && newerOrSame(*thumbnail, *picture);
}

// A hidden name beside the thumbnail: listings leave it out, so neither the kiosk nor a
// second run ever takes it for a picture.
QString temporaryNameFor(const QString& thumbnail)
{
    static std::atomic<unsigned> counter{0};
    return folderOf(thumbnail) + QStringLiteral(".quindle-%1-%2.tmp").arg(::getpid()).arg(counter++);
}

QString writeAtomically(const QString& path, const QByteArray& bytes)
{
    const QString temporary = temporaryNameFor(path);
    const QByteArray temporaryName = encodeFileName(temporary);
    const int fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return QStringLiteral("cannot write in its folder (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    const bool written = writeAll(fd, bytes) == bytes.size();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temporaryName.constData());
        return QStringLiteral("cannot write the thumbnail (disk full?)");
    }
    if (::rename(temporaryName.constData(), encodeFileName(path).constData()) != 0) {
        ::unlink(temporaryName.constData());
        return QStringLiteral("cannot rename the thumbnail into place (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    return {};
}

} // namespace

ThumbnailPlan ThumbnailMaker::plan(const QString& kioskFolder, bool force)
{
    ThumbnailPlan plan;
    for (const QString& folder : FolderListing::listFolders(kioskFolder)) {
        if (!Catalogue::isSearchedFolder(folder))
            continue;
        for (const QString& name : FolderListing::listFiles(folder, QStringLiteral("*.jpg"))) {
            if (name.contains(QLatin1Char('_')))
                continue;
            ThumbnailJob job{joinPath(folder, name), joinPath(folder, QLatin1Char('_') + name)};
            if (!force && isUpToDate(job)) {
                ++plan.upToDate;
                continue;
            }
            plan.jobs.push_back(std::move(job));
        }
    }
    return plan;
}

QString ThumbnailMaker::writeThumbnail(const ThumbnailJob& job, QSize size)
{
    const QSize pixels = PictureDecoder::pixelSize(job.picture);
    if (!pixels.isValid())
        return QStringLiteral("cannot be decoded");
    if (static_cast<qint64>(pixels.width()) * pixels.height() > PictureDecoder::maximumPixels)
        return QStringLiteral("is larger than the kiosk can show (%1 x %2)")
            .arg(pixels.width())
            .arg(pixels.height());
    const QImage image = PictureDecoder::decode(job.picture, PictureFit::Inside, size);
    if (image.isNull())
        return QStringLiteral("cannot be decoded");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(jpegQuality);
    if (!writer.write(image))
        return QStringLiteral("cannot be encoded as JPEG (%1)").arg(writer.errorString());
    return writeAtomically(job.thumbnail, bytes);
}

} // namespace quindle::admin
