#include "tools/admin/ThumbnailMaker.h"
#include "controls/PictureDecoder.h"
#include "support/KioskFolder.h"
#include "tools/admin/AdminCommands.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <utime.h>

using quindle::admin::ThumbnailJob;
using quindle::admin::ThumbnailMaker;
using quindle::test::jpegBytes;
using quindle::test::KioskFolder;

namespace {

// A JPEG whose EXIF orientation says "turn 90 degrees clockwise to show".
QByteArray jpegTurnedByExif(int width, int height)
{
    const QByteArray plain = jpegBytes(width, height);
    const QByteArray exif = QByteArray::fromHex("FFE10022"
                                                "457869660000"
                                                "4D4D002A00000008"
                                                "0001"
                                                "011200030000000100060000"
                                                "00000000");
    return plain.left(2) + exif + plain.mid(2);
}

QSize sizeOf(const QString& path)
{
    return QImageReader(path).size();
}

void makeOlder(const QString& path)
{
    utimbuf times{1'000'000, 1'000'000};
    ::utime(QFile::encodeName(path).constData(), &times);
}

struct ThumbnailRun
{
    int status = 0;
    QString out;
};

ThumbnailRun runThumbnails(const KioskFolder& kiosk, QStringList options = {})
{
    ThumbnailRun run;
    QString err;
    QTextStream outStream(&run.out);
    QTextStream errStream(&err);
    run.status = quindle::admin::runAdmin(
        QStringList{"quindle-admin", "thumbnails", "--program-folder", kiosk.programFolder()} + options, {},
        {outStream, errStream, false});
    outStream.flush();
    return run;
}

} // namespace

TEST(ThumbnailMaker, MakesMissingThumbnails_twiceTheSlotKeepingProportionsAndUpright)
{
    KioskFolder kiosk; // slots of 40 x 30: thumbnails inside 80 x 60
    kiosk.writeSettings(KioskFolder::standardSettings());
    kiosk.temp().write(QStringLiteral("Kiosk/Rings/Wide.jpg"), jpegBytes(640, 240));
    kiosk.temp().write(QStringLiteral("Kiosk/Rings/Turned.jpg"), jpegTurnedByExif(64, 32));
    kiosk.temp().write(QStringLiteral("Kiosk/Rings/Small.jpg"), jpegBytes(20, 10));
    kiosk.temp().write(QStringLiteral("Kiosk/Attract/Slide.jpg"), jpegBytes(640, 480));

    const ThumbnailRun run = runThumbnails(kiosk);
    EXPECT_EQ(0, run.status);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("3 thumbnails written, 0 up to date, 0 failed")))
        << run.out.toStdString();
    EXPECT_EQ(QSize(80, 30), sizeOf(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Wide.jpg"))));
    EXPECT_EQ(QSize(30, 60), sizeOf(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Turned.jpg"))));
    EXPECT_EQ(QSize(20, 10), sizeOf(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Small.jpg"))));
    EXPECT_FALSE(QFile::exists(kiosk.temp().filePath(QStringLiteral("Kiosk/Attract/_Slide.jpg"))));
    EXPECT_EQ(6, QDir(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings")))
                     .entryList(QDir::Files | QDir::Hidden)
                     .size());
}

TEST(ThumbnailMaker, SkipsThumbnailsNewerThanTheirPictures_forceWritesAll)
{
    KioskFolder kiosk;
    kiosk.writeSettings(KioskFolder::standardSettings());
    kiosk.addPictures(QStringLiteral("Rings"), 3);
    const QString stale = kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Item 02.jpg"));
    makeOlder(stale);

    ThumbnailRun run = runThumbnails(kiosk);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("1 thumbnails written, 2 up to date, 0 failed")))
        << run.out.toStdString();
    EXPECT_EQ(QSize(64, 48), sizeOf(stale)); // rewritten from the 64 x 48 picture, no longer the 32 x 24 one
    EXPECT_EQ(QSize(32, 24), sizeOf(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Item 01.jpg"))));

    run = runThumbnails(kiosk);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("0 thumbnails written, 3 up to date")))
        << run.out.toStdString();

    run = runThumbnails(kiosk, {"--force", "--jobs", "1"});
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("3 thumbnails written, 0 up to date")))
        << run.out.toStdString();
    EXPECT_EQ(QSize(64, 48), sizeOf(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Item 01.jpg"))));
}

TEST(ThumbnailMaker, PictureThatCannotBeDecoded_failsAloneAndLeavesNoFile)
{
    KioskFolder kiosk;
    kiosk.writeSettings(KioskFolder::standardSettings());
    kiosk.addPictures(QStringLiteral("Rings"), 2, false);
    kiosk.temp().write(QStringLiteral("Kiosk/Rings/Broken.jpg"), "not a picture");
    const ThumbnailRun run = runThumbnails(kiosk);
    EXPECT_EQ(1, run.status);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("2 thumbnails written, 0 up to date, 1 failed")))
        << run.out.toStdString();
    EXPECT_FALSE(QFile::exists(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Broken.jpg"))));
}

TEST(ThumbnailMaker, ReaderDuringWrites_alwaysFindsAWholePicture)
{
    KioskFolder kiosk;
    const QString picture =
        kiosk.temp().write(QStringLiteral("Kiosk/Rings/Large.jpg"), jpegBytes(1600, 1200));
    const ThumbnailJob job{picture, kiosk.temp().filePath(QStringLiteral("Kiosk/Rings/_Large.jpg"))};
    ASSERT_TRUE(ThumbnailMaker::writeThumbnail(job, QSize(800, 600)).isEmpty());

    std::atomic<bool> writing{true};
    std::atomic<int> writeFailures{0};
    std::thread writer([&] {
        for (int i = 0; i < 40; ++i) {
            if (!ThumbnailMaker::writeThumbnail(job, QSize(800, 600)).isEmpty())
                ++writeFailures;
        }
        writing = false;
    });
    int reads = 0;
    int halfRead = 0;
    while (writing || reads == 0) {
        QFile file(job.thumbnail);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ++reads;
        if (!bytes.startsWith("\xFF\xD8") || !bytes.endsWith("\xFF\xD9") ||
            QImage::fromData(bytes).size() != QSize(800, 600))
            ++halfRead;
    }
    writer.join();
    EXPECT_EQ(0, writeFailures.load());
    EXPECT_EQ(0, halfRead) << "of " << reads << " reads";
    const QStringList left =
        QDir(kiosk.temp().filePath(QStringLiteral("Kiosk/Rings"))).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(QSet<QString>({"Large.jpg", "_Large.jpg"}), QSet<QString>(left.begin(), left.end()));
}
