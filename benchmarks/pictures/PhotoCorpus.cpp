#include "PhotoCorpus.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace quindle::bench {

namespace {

constexpr int quality = 92;

} // namespace

bool writeJpeg(const QImage& picture, const QString& path, JpegKind kind)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(pixels.width());
    info.image_height = static_cast<JDIMENSION>(pixels.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind == JpegKind::Progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* line = const_cast<JSAMPLE*>(pixels.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

namespace {

// The camera photographs large enough for a tile of 2000×1500 pixels.
std::vector<QImage> sourcePhotographs()
{
    std::vector<QImage> photographs;
    const QDir folder(photographFolder());
    for (const QString& name : folder.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name)) {
        QImage photograph(folder.filePath(name));
        if (photograph.width() >= 2000 && photograph.height() >= 1500)
            photographs.push_back(photograph.convertToFormat(QImage::Format_RGB32));
    }
    return photographs;
}

QImage mosaic(const std::vector<QImage>& photographs, QSize size, int seed)
{
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    QRandomGenerator random(static_cast<quint32>(seed));
    const int columns = (size.width() + 1999) / 2000;
    const int rows = (size.height() + 1499) / 1500;
    const int tileWidth = (size.width() + columns - 1) / columns;
    const int tileHeight = (size.height() + rows - 1) / rows;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QImage& photograph =
                photographs[static_cast<size_t>(seed + row * columns + column) % photographs.size()];
            const QPoint from(random.bounded(photograph.width() - tileWidth + 1),
                              random.bounded(photograph.height() - tileHeight + 1));
            painter.drawImage(QPoint(column * tileWidth, row * tileHeight), photograph,
                              QRect(from, QSize(tileWidth, tileHeight)));
        }
    }
    return picture;
}

} // namespace

QString photographFolder()
{
    const QString folder = QStringLiteral("/usr/share/backgrounds/mate/nature");
    return QDir(folder).exists() ? folder : QString();
}

QStringList writeRealPictures(const QString& folder, int count, QSize size, JpegKind kind)
{
    QDir().mkpath(folder);
    std::vector<QImage> photographs;
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("Photograph %1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')));
        paths << path;
        if (QFile::exists(path))
            continue;
        if (photographs.empty())
            photographs = sourcePhotographs();
        if (photographs.empty() || !writeJpeg(mosaic(photographs, size, i), path, kind))
            return {};
    }
    return paths;
}

} // namespace quindle::bench
