#include "controls/ProgressiveJpeg.h"

#include <QIODevice>
#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace quindle {

namespace {

constexpr qint64 chunkBytes = 64 * 1024;

// The libjpeg state of one decode. libjpeg reports a fatal error through error_exit, which
// must not return: it jumps back to the decode's start, so every resource lives here and is
// released by the destructor whichever way the decode ends.
struct Decode
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_source_mgr source{};
    std::jmp_buf failed{};
    QIODevice* device = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    char buffer[chunkBytes]{};
    bool atEnd = false; // the device has no more bytes: each fill gives an end-of-image marker
    QImage image;
    bool created = false;

    ~Decode()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

Decode& decodeOf(j_common_ptr info)
{
    return *static_cast<Decode*>(info->client_data);
}

[[noreturn]] void failDecode(j_common_ptr info)
{
    std::longjmp(decodeOf(info).failed, 1);
}

// Warnings (corrupt data, a file cut short) are not shown: the picture is decoded as far as
// it goes, as the kiosk's other decoding does.
void ignoreMessage(j_common_ptr) {}

void initSource(j_decompress_ptr) {}

boolean fillBuffer(j_decompress_ptr info)
{
    Decode& decode = decodeOf(reinterpret_cast<j_common_ptr>(info));
    if (decode.cancel && decode.cancel->load(std::memory_order_relaxed))
        ERREXIT(info, JERR_FILE_READ);
    qint64 read = decode.atEnd ? 0 : decode.device->read(decode.buffer, chunkBytes);
    if (read <= 0) {
        decode.atEnd = true;
        // The end of a file cut short: an end-of-image marker ends the scan in progress.
        WARNMS(info, JWRN_JPEG_EOF);
        decode.buffer[0] = static_cast<char>(0xff);
        decode.buffer[1] = static_cast<char>(JPEG_EOI);
        read = 2;
    }
    decode.source.next_input_byte = reinterpret_cast<const JOCTET*>(decode.buffer);
    decode.source.bytes_in_buffer = static_cast<size_t>(read);
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count)
{
    jpeg_source_mgr& source = *info->src;
    while (count > static_cast<long>(source.bytes_in_buffer)) {
        count -= static_cast<long>(source.bytes_in_buffer);
        fillBuffer(info);
        // A segment longer than what is left of the file: the end-of-image marker put in its
        // place stays to be read, rather than being skipped two bytes at a time.
        if (decodeOf(reinterpret_cast<j_common_ptr>(info)).atEnd)
            return;
    }
    source.next_input_byte += count;
    source.bytes_in_buffer -= static_cast<size_t>(count);
}

void termSource(j_decompress_ptr) {}

bool shownAsItIs(J_COLOR_SPACE space)
{
    return space == JCS_YCbCr || space == JCS_GRAYSCALE || space == JCS_RGB;
}

// True once every colour component has its DC coefficients, at whatever precision.
bool everyDcArrived(const jpeg_decompress_struct& info)
{
    for (int component = 0; component < info.num_components; ++component) {
        if (info.coef_bits[component][0] < 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<QImage> decodeProgressiveEighth(QIODevice& device, const std::atomic<bool>* cancel)
{
    const qint64 start = device.pos();
    Decode decode;
    decode.device = &device;
    decode.cancel = cancel;
    decode.info.err = jpeg_std_error(&decode.errors);
    decode.errors.error_exit = failDecode;
    decode.errors.output_message = ignoreMessage;
    decode.source.init_source = initSource;
    decode.source.fill_input_buffer = fillBuffer;
    decode.source.skip_input_data = skipInput;
    decode.source.resync_to_restart = jpeg_resync_to_restart;
    decode.source.term_source = termSource;
    if (setjmp(decode.failed))
        return QImage();
    jpeg_create_decompress(&decode.info);
    decode.created = true;
    decode.info.client_data = &decode;
    decode.info.src = &decode.source;
    jpeg_read_header(&decode.info, TRUE);
    // A sequential picture may come in several scans too; only a progressive one has DC scans
    // to stop after.
    if (!decode.info.progressive_mode || !jpeg_has_multiple_scans(&decode.info) ||
        !shownAsItIs(decode.info.jpeg_color_space)) {
        device.seek(start);
        return std::nullopt;
    }
    decode.info.buffered_image = TRUE;
    decode.info.scale_num = 1;
    decode.info.scale_denom = 8;
    decode.info.out_color_space = JCS_EXT_BGRX;
    decode.info.dct_method = JDCT_IFAST;
    decode.info.do_fancy_upsampling = FALSE;
    // Smoothing guesses the missing detail of a full-size picture; an eighth shows none.
    decode.info.do_block_smoothing = FALSE;
    jpeg_start_decompress(&decode.info);
    for (;;) {
        const int status = jpeg_consume_input(&decode.info);
        if (status == JPEG_REACHED_EOI || status == JPEG_SUSPENDED)
            break;
        if (status == JPEG_SCAN_COMPLETED && everyDcArrived(decode.info))
            break;
    }
    decode.image = QImage(static_cast<int>(decode.info.output_width),
                          static_cast<int>(decode.info.output_height), QImage::Format_RGB32);
    if (decode.image.isNull())
        return QImage();
    jpeg_start_output(&decode.info, decode.info.input_scan_number);
    while (decode.info.output_scanline < decode.info.output_height) {
        JSAMPROW line = decode.image.scanLine(static_cast<int>(decode.info.output_scanline));
        jpeg_read_scanlines(&decode.info, &line, 1);
    }
    jpeg_finish_output(&decode.info);
    return decode.image;
}

} // namespace quindle
