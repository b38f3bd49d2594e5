#pragma once

#include <QByteArray>

namespace quindle {

// A PCM WAV file with silence added after its samples until it plays for at least
// minimumMilliseconds. A sound server starts a stream only once the stream's pre-buffer is full
// (about 125 ms for Qt's streams on PulseAudio), and a sound effect closes its stream as soon as
// its samples run out: a shorter click would never be heard. Anything that is not a PCM WAV
// file, or is long enough, comes back unchanged.
QByteArray wavePaddedTo(const QByteArray& wave, int minimumMilliseconds);

} // namespace quindle
