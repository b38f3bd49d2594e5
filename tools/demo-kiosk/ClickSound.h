#pragma once

#include <QByteArray>

namespace quindle::demo {

// The kiosk's click: a soft 30-millisecond tick as a PCM WAV file, 44.1 kHz, 16-bit, mono.
class ClickSound
{
public:
    static QByteArray wavBytes();
};

} // namespace quindle::demo
