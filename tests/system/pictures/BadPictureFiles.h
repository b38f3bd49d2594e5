#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace quindle::test {

// What the kiosk must make of a picture file.
enum class Outcome {
    Shown, // a sound picture, however unusual
    Blank, // nothing can be shown: the control stays empty
    Either // damaged: libjpeg may show what it could read, grey for the rest
};

// One of the bad (or merely unusual) picture files the kiosk meets in shops.
struct BadPicture
{
    QString name;
    Outcome outcome;
    // Bytes the JPEG library may hold while reading the picture whatever size it is shown
    // at: the coefficients of a progressive picture, 2 bytes a sample.
    std::int64_t decoderBytes = 0;
    // Inserted before ".jpg" in the file's name: a byte that is not valid UTF-8.
    QByteArray nameSuffix;
    // Makes the file (or whatever stands at the path).
    std::function<void(const QString& path)> make;
};

std::vector<BadPicture> badPictures();
const BadPicture& badPicture(const QString& name);

// Writes bytes to a path given as a kiosk name (names that are not UTF-8 included).
void writeFileBytes(const QString& path, const QByteArray& bytes);

// JPEG files made with libjpeg-turbo: photo-like content of the given size.
QByteArray photoJpeg(int width, int height, bool progressive, int subsampling, bool cmyk = false);
// A small JPEG with an EXIF orientation tag: quadrants red, green (top), blue, white (bottom).
QByteArray orientedJpeg(int orientation);
// The JPEG with the frame header's height and width replaced.
QByteArray withClaimedSize(QByteArray jpeg, int width, int height);

} // namespace quindle::test
