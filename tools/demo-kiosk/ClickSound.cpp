#include "tools/demo-kiosk/ClickSound.h"

#include <QDataStream>
#include <QIODevice>
#include <QtMath>

#include <cmath>

namespace quindle::demo {

QByteArray ClickSound::wavBytes()
{
    constexpr int rate = 44100;
    constexpr int samples = rate * 30 / 1000;
    constexpr int dataBytes = samples * 2;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(dataBytes);
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / rate;
        // A one-millisecond rise avoids a pop; the fast decay keeps the tick soft and short.
        const double envelope = std::min(1.0, t / 0.001) * std::exp(-t / 0.0045);
        const double tone = 0.7 * std::sin(2 * M_PI * 1850 * t) + 0.3 * std::sin(2 * M_PI * 620 * t);
        out << qint16(std::lround(0.32 * 32767 * envelope * tone));
    }
    return bytes;
}

} // namespace quindle::demo
