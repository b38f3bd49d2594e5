#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace quindle::bench {

enum class JpegKind { Baseline, Progressive };

// Writes a picture as a JPEG of quality 92 through libjpeg.
bool writeJpeg(const QImage& picture, const QString& path, JpegKind kind);

// The folder of real photographs the benchmark's set-up installs, or "" when it is missing.
QString photographFolder();

// Pictures of the given size built from real photographs at their own resolution (a mosaic of
// crops, so that every pixel keeps a camera's detail and noise), written as JPEGs of quality 92
// through libjpeg. Files already in folder are kept.
QStringList writeRealPictures(const QString& folder, int count, QSize size, JpegKind kind);

} // namespace quindle::bench
