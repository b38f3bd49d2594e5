#include "tools/admin/ThumbnailMaker.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QImage>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using quindle::admin::ThumbnailMaker;

// A kiosk may fill a thumbnail page while the owner rewrites the thumbnails: it must always read a
// whole picture, the old one or the new one, and no file written on the way is left.
TEST(ThumbnailMaker, ReaderDuringWrites_alwaysFindsAWholePicture)
{
    quindle::test::TempFolder folder;
    const quindle::admin::ThumbnailJob job{folder.write("Large.jpg", quindle::test::jpegBytes(1600, 1200)),
                                           folder.filePath("_Large.jpg")};
    ASSERT_EQ(QString(), ThumbnailMaker::writeThumbnail(job, QSize(800, 600)));
    std::atomic<bool> writing{true};
    std::thread writer([&] {
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(QString(), ThumbnailMaker::writeThumbnail(job, QSize(800, 600)));
        writing = false;
    });
    int reads = 0;
    int halfRead = 0;
    for (; writing || reads == 0; ++reads) {
        QFile file(job.thumbnail);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        halfRead += !bytes.endsWith("\xFF\xD9") || QImage::fromData(bytes).size() != QSize(800, 600);
    }
    writer.join();
    EXPECT_EQ(0, halfRead) << "of " << reads << " reads";
    EXPECT_EQ(QStringList({"Large.jpg", "_Large.jpg"}),
              QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name));
}
