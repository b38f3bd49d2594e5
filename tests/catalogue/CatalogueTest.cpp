#include "catalogue/Catalogue.h"
#include "fakes/FakeServices.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

const QString missingFolderAdvice =
    QStringLiteral("Please edit your \"quindle.ini\" file file prior to proceeding.");

struct KioskFolder
{
    explicit KioskFolder(const QString& relativeToRoot = QStringLiteral("kiosk"))
        : relative(relativeToRoot), path(root.makeFolder(relative)), catalogue(path, messages, programEnd)
    {
    }
    QString file(const QString& name) const { return joinPath(path, name); }

    TempFolder root;
    QString relative;
    QString path;
    FakeMessageBox messages;
    FakeProgramEnd programEnd;
    Catalogue catalogue;
};

void write(const KioskFolder& kiosk, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        kiosk.root.write(kiosk.relative + QLatin1Char('/') + QString::fromUtf8(name));
}

} // namespace

TEST(Catalogue, CategoryScanListsPicturesWithoutUnderscoreInNameOrder)
{
    KioskFolder kiosk;
    write(kiosk,
          {"Boots/boot.jpg", "Boots/_boot.jpg", "Boots/Anchor.JPG", "Boots/red_hat.jpg", "Boots/boot.prn"});
    kiosk.catalogue.setCurrentCategory(QStringLiteral("Boots"));
    kiosk.catalogue.scanPictures(ScanKind::Category);

    const QStringList expected{QString(), kiosk.file(QStringLiteral("Boots/Anchor.JPG")),
                               kiosk.file(QStringLiteral("Boots/boot.jpg"))};
    EXPECT_EQ(expected, kiosk.catalogue.imageList());
    EXPECT_EQ(2, kiosk.catalogue.imageCount());
    EXPECT_TRUE(kiosk.messages.messages.isEmpty());
}

TEST(Catalogue, CategoryFolderIsFoundWhateverItsLetterCase)
{
    KioskFolder kiosk;
    write(kiosk, {"Boots/boot.jpg"});
    kiosk.catalogue.setCurrentCategory(QStringLiteral("BOOTS"));
    kiosk.catalogue.scanPictures(ScanKind::Category);

    EXPECT_EQ((QStringList{QString(), kiosk.file(QStringLiteral("Boots/boot.jpg"))}),
              kiosk.catalogue.imageList());
}

TEST(Catalogue, EmptyCategoryWarnsAtEveryScanAndGoesOn)
{
    KioskFolder kiosk;
    write(kiosk, {"Hats/boot.jpg"});
    kiosk.root.makeFolder(QStringLiteral("kiosk/Boots"));
    kiosk.catalogue.setCurrentCategory(QStringLiteral("Hats"));
    kiosk.catalogue.scanPictures(ScanKind::Category);
    kiosk.catalogue.setCurrentCategory(QStringLiteral("boots"));
    kiosk.catalogue.scanPictures(ScanKind::Category);
    kiosk.catalogue.scanPictures(ScanKind::Category);

    const QString warning =
        QStringLiteral("Warning - you have no images inside your \"category\" folder of \"boots\"");
    EXPECT_EQ((QStringList{warning, warning}), kiosk.messages.messages);
    EXPECT_EQ(QStringList{QString()}, kiosk.catalogue.imageList());
    EXPECT_EQ(0, kiosk.catalogue.imageCount());
    EXPECT_EQ(0, kiosk.programEnd.calls);
}

TEST(Catalogue, OnlyThumbnailsGiveAnEmptyListWithoutWarning)
{
    KioskFolder kiosk;
    write(kiosk, {"Boots/_boot.jpg", "Boots/red_hat.jpg", "Boots/notes.txt"});
    kiosk.catalogue.setCurrentCategory(QStringLiteral("Boots"));
    kiosk.catalogue.scanPictures(ScanKind::Category);

    EXPECT_EQ(0, kiosk.catalogue.imageCount());
    EXPECT_TRUE(kiosk.messages.messages.isEmpty());
}

TEST(Catalogue, CategoryRemovedWhileRunningEndsWithItsMessage)
{
    KioskFolder kiosk;
    write(kiosk, {"Boots/boot.jpg"});
    kiosk.catalogue.setCurrentCategory(QStringLiteral("Boots"));
    kiosk.catalogue.scanPictures(ScanKind::Category);
    ASSERT_EQ(1, kiosk.catalogue.imageCount());

    QDir(kiosk.file(QStringLiteral("Boots"))).removeRecursively();
    try {
        kiosk.catalogue.scanPictures(ScanKind::Category);
        FAIL() << "the scan must end the program";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(1, ended.status);
    }
    EXPECT_EQ(QStringList{kiosk.file(QStringLiteral("Boots")) + QStringLiteral(" does not exist.\r\n\r\n") +
                          missingFolderAdvice},
              kiosk.messages.messages);
}

TEST(Catalogue, CategoryThatIsAFileCountsAsMissing)
{
    KioskFolder kiosk;
    write(kiosk, {"Boots"});
    kiosk.catalogue.setCurrentCategory(QStringLiteral("Boots"));
    EXPECT_THROW(kiosk.catalogue.scanPictures(ScanKind::Category), ProgramEnded);
    EXPECT_EQ(1, kiosk.messages.messages.size());
}

TEST(Catalogue, SearchLooksThroughEveryFolderButAttractAndInterface)
{
    KioskFolder kiosk;
    write(kiosk, {"Attract/boot.jpg", "Interface/boot.jpg", "Attractions/boot.jpg", "interfaces/boot.jpg",
                  "Boots/boot.jpg", "Boots/_boot.jpg", "Boots/hat.jpg", "Shoes/shoe.jpg",
                  "Shoes/snow_boot.jpg", "Shoes/Deeper/boot.jpg", "Shoes/boot.png", "top.jpg"});
    kiosk.catalogue.scanPictures(ScanKind::Search, QStringLiteral("O"));

    const QStringList expected{QString(), kiosk.file(QStringLiteral("Boots/boot.jpg")),
                               kiosk.file(QStringLiteral("Shoes/shoe.jpg"))};
    EXPECT_EQ(expected, kiosk.catalogue.searchResults());
    EXPECT_EQ(2, kiosk.catalogue.searchHitCount());
}

TEST(Catalogue, SearchDoesNotCareWhatThePathAboveTheKioskIsCalled)
{
    KioskFolder kiosk(QStringLiteral("Attract Kiosk/Interface/kiosk"));
    write(kiosk, {"Boots/boot.jpg"});
    kiosk.catalogue.scanPictures(ScanKind::Search, QStringLiteral("boot"));

    EXPECT_EQ((QStringList{QString(), kiosk.file(QStringLiteral("Boots/boot.jpg"))}),
              kiosk.catalogue.searchResults());
}

TEST(Catalogue, EmptySearchListsEveryPictureByFolderThenName)
{
    KioskFolder kiosk;
    write(kiosk, {"Shoes/shoe.jpg", "Boots/zip.jpg", "Boots/Anchor.jpg", "Boots/_zip.jpg"});
    kiosk.catalogue.setCurrentCategory(QStringLiteral("Boots"));
    kiosk.catalogue.scanPictures(ScanKind::Category);
    kiosk.catalogue.scanPictures(ScanKind::Search, QString());

    const QStringList expected{QString(), kiosk.file(QStringLiteral("Boots/Anchor.jpg")),
                               kiosk.file(QStringLiteral("Boots/zip.jpg")),
                               kiosk.file(QStringLiteral("Shoes/shoe.jpg"))};
    EXPECT_EQ(expected, kiosk.catalogue.searchResults());
    EXPECT_EQ(QStringLiteral("Boots"), kiosk.catalogue.currentCategory());
    EXPECT_EQ(2, kiosk.catalogue.imageCount());
}

TEST(Catalogue, SearchWithoutHitLeavesTwoEmptyEntries)
{
    KioskFolder kiosk;
    write(kiosk, {"Boots/boot.jpg"});
    kiosk.catalogue.scanPictures(ScanKind::Search, QStringLiteral("boot"));
    kiosk.catalogue.scanPictures(ScanKind::Search, QStringLiteral("XYZ"));

    EXPECT_EQ((QStringList{QString(), QString()}), kiosk.catalogue.searchResults());
    EXPECT_EQ(0, kiosk.catalogue.searchHitCount());
    EXPECT_TRUE(kiosk.messages.messages.isEmpty());
}
