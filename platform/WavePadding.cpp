#include "platform/WavePadding.h"

#include <QtEndian>

namespace quindle {

namespace {

quint32 number32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 number16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

QByteArray wavePaddedTo(const QByteArray& wave, int minimumMilliseconds)
{
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return wave;
    QByteArray format;
    QByteArray samples;
    for (qsizetype at = 12; at + 8 <= wave.size();) {
        const QByteArray id = wave.mid(at, 4);
        const qsizetype size = number32(wave, at + 4);
        if (size > wave.size() - at - 8)
            return wave;
        if (id == "fmt ")
            format = wave.mid(at + 8, size);
        else if (id == "data")
            samples = wave.mid(at + 8, size);
        // Chunks start at even offsets.
        at += 8 + size + (size & 1);
    }
    constexpr quint16 pcm = 1;
    constexpr quint16 extensible = 0xFFFE;
    if (format.size() < 16 || samples.isEmpty())
        return wave;
    const quint16 encoding = number16(format, 0);
    const quint32 bytesPerSecond = number32(format, 8);
    const quint16 blockSize = number16(format, 12);
    const quint16 bitsPerSample = number16(format, 14);
    if ((encoding != pcm && encoding != extensible) || blockSize == 0)
        return wave;
    const qint64 wanted = qint64(bytesPerSecond) * minimumMilliseconds / 1000 / blockSize * blockSize;
    if (samples.size() >= wanted)
        return wave;
    // Eight-bit samples are unsigned: their silence is the middle value.
    samples.append(wanted - samples.size(), bitsPerSample == 8 ? '\x80' : '\0');
    const QByteArray formatChunk =
        "fmt " + littleEndian32(quint32(format.size())) + format + QByteArray(format.size() & 1, '\0');
    const QByteArray dataChunk = "data" + littleEndian32(quint32(samples.size())) + samples;
    return "RIFF" + littleEndian32(quint32(4 + formatChunk.size() + dataChunk.size())) + "WAVE" +
           formatChunk + dataChunk;
}

} // namespace quindle
