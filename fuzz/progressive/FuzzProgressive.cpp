// Feeds arbitrary bytes to the decoding of progressive JPEGs from their first scans, under the
// memory limit the kiosk sets. A file is either declined with the device where it was, refused
// with a null image, or decoded to a picture an eighth of the size its header gives.

#include "controls/ProgressiveJpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool limited = ::setenv("JPEGMEM", "256m", 1) == 0;
    if (!limited)
        std::abort();
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const std::optional<QImage> image = quindle::decodeProgressiveEighth(device);
    if (!image && device.pos() != 0)
        std::abort();
    if (image && !image->isNull() && image->format() != QImage::Format_RGB32)
        std::abort();
    return 0;
}
