#pragma once

#include <QList>
#include <QSize>
#include <QString>

namespace quindle::admin {

struct ThumbnailJob
{
    QString picture;   // full path
    QString thumbnail; // "_" + the picture's name, beside it
};

struct ThumbnailPlan
{
    QList<ThumbnailJob> jobs;
    int upToDate = 0; // thumbnails newer than their pictures, left alone
};

struct ThumbnailFailure
{
    QString picture;
    QString reason;
};

// Writes the "_" thumbnails the thumbnail page shows instead of decoding whole pictures.
class ThumbnailMaker
{
public:
    static constexpr int jpegQuality = 85;

    // Thumbnails are made at twice the grid's slot size, so they stay sharp on the slot and
    // on a screen with twice the pixels.
    static QSize thumbnailSizeFor(QSize slot) { return slot * 2; }

    // The pictures of every folder that the catalogue shows or searches (all folders of the
    // kiosk folder but Attract and Interface) whose "_" thumbnail is missing or older than
    // the picture; with force, every picture.
    static ThumbnailPlan plan(const QString& kioskFolder, bool force);

    // Decodes the picture at reduced scale, upright by its EXIF orientation, fitted inside
    // size with its proportions, and writes it as JPEG under a temporary name that is then
    // renamed into place: a kiosk reading the thumbnail meanwhile sees the old file or the
    // new one, never half of one. Empty when done, else why not.
    static QString writeThumbnail(const ThumbnailJob& job, QSize size);
};

} // namespace quindle::admin
