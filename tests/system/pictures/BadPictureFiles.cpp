#include "system/pictures/BadPictureFiles.h"

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>

namespace quindle::test {

namespace {

constexpr std::int64_t megapixel = 1'000'000;

QByteArray cutTo(const QByteArray& bytes, int percent)
{
    return bytes.left(bytes.size() * percent / 100);
}

// The scan data overwritten with noise from a third of the way on.
QByteArray corrupted(QByteArray bytes)
{
    quint32 state = 12345;
    for (qsizetype i = bytes.size() / 3; i < bytes.size() - 2; i += 7) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

QByteArray randomBytes(int count)
{
    QByteArray bytes(count, '\0');
    quint32 state = 987654321;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state);
    }
    return bytes;
}

QByteArray pngBytes()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(20, 160, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A medium picture for the damaged cases: damage then falls inside real scan data.
const QByteArray& mediumPhoto()
{
    static const QByteArray bytes = photoJpeg(1600, 1200, false, TJSAMP_420);
    return bytes;
}

std::function<void(const QString&)> writes(std::function<QByteArray()> contents)
{
    return [contents](const QString& path) {
        writeFileBytes(path, contents());
    };
}

void makeFifo(const QString& path)
{
    ::mkfifo(encodeFileName(path).constData(), 0644);
}

void makeFolder(const QString& path)
{
    ::mkdir(encodeFileName(path).constData(), 0755);
}

void makeLinkLoop(const QString& path)
{
    const QByteArray other = encodeFileName(path) + ".loop";
    ::symlink(other.constData(), encodeFileName(path).constData());
    ::symlink(encodeFileName(path).constData(), other.constData());
}

void makeDeviceLink(const QString& path)
{
    ::symlink("/dev/zero", encodeFileName(path).constData());
}

} // namespace

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = encodeFileName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot write " + name.toStdString());
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written <= 0)
            break;
        done += written;
    }
    ::close(fd);
}

QByteArray photoJpeg(int width, int height, bool progressive, int subsampling, bool cmyk)
{
    const int channels = cmyk ? 4 : 3;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) *
                                      static_cast<size_t>(channels));
    quint32 state = 2463534242u;
    size_t at = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int noise = static_cast<int>(state & 31) - 16;
            const int base[4] = {x * 255 / width, y * 255 / height, (x + y) * 127 / (width + height) + 64,
                                 40};
            for (int c = 0; c < channels; ++c)
                pixels[at++] = static_cast<unsigned char>(std::clamp(base[c] + noise, 0, 255));
        }
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int flags = progressive ? TJFLAG_PROGRESSIVE : 0;
    const int result = tjCompress2(handle, pixels.data(), width, 0, height, cmyk ? TJPF_CMYK : TJPF_RGB,
                                   &jpeg, &size, cmyk ? TJSAMP_444 : subsampling, 85, flags);
    QByteArray bytes;
    if (result == 0)
        bytes = QByteArray(reinterpret_cast<const char*>(jpeg), static_cast<qsizetype>(size));
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

QByteArray orientedJpeg(int orientation)
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool left = x < 32;
            const bool top = y < 16;
            const QColor colour = top ? (left ? Qt::red : Qt::green) : (left ? Qt::blue : Qt::white);
            image.setPixelColor(x, y, colour);
        }
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    // An APP1 segment with a big-endian TIFF directory holding the one orientation entry.
    QByteArray exif("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\0\0\0\0\0\0\0", 32);
    exif[6 + 8 + 2 + 8 + 1] = static_cast<char>(orientation);
    QByteArray segment("\xff\xe1", 2);
    const int length = static_cast<int>(exif.size()) + 2;
    segment.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xff)).append(exif);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray withClaimedSize(QByteArray jpeg, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) != 0xff || (marker != 0xc0 && marker != 0xc2))
            continue;
        jpeg[i + 5] = static_cast<char>(height >> 8);
        jpeg[i + 6] = static_cast<char>(height & 0xff);
        jpeg[i + 7] = static_cast<char>(width >> 8);
        jpeg[i + 8] = static_cast<char>(width & 0xff);
        return jpeg;
    }
    return jpeg;
}

std::vector<BadPicture> badPictures()
{
    std::vector<BadPicture> all{
        {"Corrupt", Outcome::Either, 0, {}, writes([] { return corrupted(mediumPhoto()); })},
        {"Truncated10", Outcome::Either, 0, {}, writes([] { return cutTo(mediumPhoto(), 10); })},
        {"Truncated50", Outcome::Either, 0, {}, writes([] { return cutTo(mediumPhoto(), 50); })},
        {"Truncated90", Outcome::Either, 0, {}, writes([] { return cutTo(mediumPhoto(), 90); })},
        {"Empty", Outcome::Blank, 0, {}, writes([] { return QByteArray(); })},
        {"RandomBytes", Outcome::Blank, 0, {}, writes([] { return randomBytes(64 * 1024); })},
        {"PngNamedJpg", Outcome::Shown, 0, {}, writes([] { return pngBytes(); })},
        {"TextNamedJpg", Outcome::Blank, 0, {}, writes([] {
             return QByteArray("Price list\r\nRing 12.00\r\n");
         })},
        {"Progressive", Outcome::Shown, 1600 * 1200 * 3, {}, writes([] {
             return photoJpeg(1600, 1200, true, TJSAMP_420);
         })},
        {"Cmyk", Outcome::Shown, 0, {}, writes([] { return photoJpeg(800, 600, false, TJSAMP_444, true); })},
        {"Photo48Megapixels", Outcome::Shown, 0, {}, writes([] {
             return photoJpeg(8000, 6000, false, TJSAMP_420);
         })},
        {"Progressive24MegapixelsFullColour", Outcome::Shown, 24 * megapixel * 3 * 2, {}, writes([] {
             return photoJpeg(6000, 4000, true, TJSAMP_444);
         })},
        {"HeaderClaims65000Square", Outcome::Blank, 0, {}, writes([] {
             return withClaimedSize(photoJpeg(64, 64, false, TJSAMP_420), 65000, 65000);
         })},
        {"Progressive4KBClaims30000Square", Outcome::Blank, 0, {}, writes([] {
             return withClaimedSize(photoJpeg(48, 48, true, TJSAMP_420), 30000, 30000);
         })},
        {"Progressive4KBClaims99Megapixels", Outcome::Blank, 0, {}, writes([] {
             return withClaimedSize(photoJpeg(48, 48, true, TJSAMP_420), 11000, 9000);
         })},
        {"NameNotUtf8", Outcome::Shown, 0, QByteArray("\xff\xe9", 2),
         writes([] { return jpegBytes(64, 48); })},
        {"BrokenNameNotUtf8", Outcome::Blank, 0, QByteArray("\xff", 1),
         writes([] { return randomBytes(512); })},
        {"SymbolicLinkLoop", Outcome::Blank, 0, {}, makeLinkLoop},
        {"Fifo", Outcome::Blank, 0, {}, makeFifo},
        {"Folder", Outcome::Blank, 0, {}, makeFolder},
        {"LinkToDevice", Outcome::Blank, 0, {}, makeDeviceLink},
    };
    for (int orientation = 1; orientation <= 8; ++orientation)
        all.push_back({QStringLiteral("ExifOrientation%1").arg(orientation),
                       Outcome::Shown,
                       0,
                       {},
                       writes([orientation] { return orientedJpeg(orientation); })});
    return all;
}

const BadPicture& badPicture(const QString& name)
{
    static const std::vector<BadPicture> all = badPictures();
    for (const BadPicture& picture : all) {
        if (picture.name == name)
            return picture;
    }
    throw std::invalid_argument("no such picture");
}

} // namespace quindle::test
