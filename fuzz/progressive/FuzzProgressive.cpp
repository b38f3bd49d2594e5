// Feeds arbitrary bytes to the decoding of progressive JPEGs from their first scans, under a
// memory limit for the JPEG library as the kiosk sets one. A file is either declined with the
// device where it was, refused with a null image, or decoded to a picture an eighth of the size
// its header gives.

#include "controls/ProgressiveJpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // 4 MB rather than the kiosk's 256 MB: a header may claim a picture of any size, and the
    // library allocates and clears the coefficients of the whole picture before it reads a scan.
    // Past the limit a picture is refused on the same path as in the kiosk; within it each run
    // stays quick and the fuzzer's memory low.
    static const bool limited = ::setenv("JPEGMEM", "4m", 1) == 0;
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
