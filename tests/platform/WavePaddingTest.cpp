#include "platform/WavePadding.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace quindle;

namespace {

QByteArray littleEndian(quint32 value, int bytes)
{
    QByteArray text(4, '\0');
    qToLittleEndian(value, text.data());
    return text.left(bytes);
}

// A PCM WAV file; sound editors often write a LIST chunk before the samples.
QByteArray wave(int channels, int bits, int rate, const QByteArray& samples, bool withList = true)
{
    const int block = channels * bits / 8;
    const QByteArray format = littleEndian(1, 2) + littleEndian(channels, 2) + littleEndian(rate, 4) +
                              littleEndian(rate * block, 4) + littleEndian(block, 2) + littleEndian(bits, 2);
    const QByteArray list = "LIST" + littleEndian(3, 4) + "abc" + QByteArray(1, '\0');
    const QByteArray body = "WAVEfmt " + littleEndian(16, 4) + format + (withList ? list : QByteArray()) +
                            "data" + littleEndian(samples.size(), 4) + samples;
    return "RIFF" + littleEndian(body.size(), 4) + body;
}

} // namespace

TEST(WavePadding, ShortClicksGetSilenceUpToTheMinimum)
{
    const QByteArray click16("\x10\x20\x30\x40", 4);
    const struct
    {
        const char* name;
        QByteArray input;
        QByteArray expected;
    } rows[] = {
        {"16-bit mono, 2 samples", wave(1, 16, 1000, click16),
         wave(1, 16, 1000, click16 + QByteArray(2 * 250 - 4, '\0'), false)},
        {"8-bit stereo: unsigned silence", wave(2, 8, 1000, "\x01\x02"),
         wave(2, 8, 1000, QByteArray("\x01\x02") + QByteArray(2 * 250 - 2, '\x80'), false)},
        {"long enough", wave(1, 16, 1000, QByteArray(600, '\x05')),
         wave(1, 16, 1000, QByteArray(600, '\x05'))},
        {"not a WAV file", QByteArray("ID3\x04 an mp3"), QByteArray("ID3\x04 an mp3")},
        {"cut short in its samples", wave(1, 16, 1000, click16).chopped(2),
         wave(1, 16, 1000, click16).chopped(2)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, wavePaddedTo(row.input, 250));
    }
}
