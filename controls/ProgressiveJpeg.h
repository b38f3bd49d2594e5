#pragma once

#include <QImage>
#include <atomic>
#include <optional>

class QIODevice;

namespace quindle {

// Decodes a progressive JPEG at an eighth of its size from its first scans only. A progressive
// file sends the DC coefficient of every block (each block's mean colour) before any detail,
// and a picture decoded at 1/8 shows nothing but those means: once every colour component's
// DC has arrived the rest of the file can be left unread. A file whose scans never complete a
// component's DC is read to its end, as a whole decode would.
//
// Gives std::nullopt, with the device where it was, for a file that is not a progressive JPEG
// in a colour space shown as it is (baseline, CMYK, another format): the caller decodes it its
// usual way. Gives a null image for a progressive file that cannot be read, or when cancel is
// set while the file is being read. The memory limit that libjpeg takes from the environment
// holds here too.
std::optional<QImage> decodeProgressiveEighth(QIODevice& device, const std::atomic<bool>* cancel = nullptr);

} // namespace quindle
