#include "catalogue/Catalogue.h"
#include "catalogue/NamePattern.h"
#include "fakes/FakeServices.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace quindle;
using namespace quindle::test;

namespace {

// A kiosk folder below folders named like those the search leaves out: only the names inside the kiosk
// folder count. Its files are given as one text, separated by "|".
struct Kiosk
{
    explicit Kiosk(const char* files)
    {
        for (const QString& name : QString::fromUtf8(files).split(QLatin1Char('|')))
            root.write(QStringLiteral("Attract/Interface/kiosk/") + name);
    }
    // A list's entries as names inside the kiosk folder, separated by "|" (entry 0 is empty).
    QString names(const QStringList& list) const { return list.join('|').remove(path + QLatin1Char('/')); }

    TempFolder root;
    QString path = root.filePath(QStringLiteral("Attract/Interface/kiosk"));
    FakeMessageBox messageBox;
    FakeProgramEnd programEnd;
    Catalogue catalogue{path, messageBox, programEnd};
};

struct Scan
{
    const char* files;
    ScanKind kind;
    const char* text;     // the category, or the search text
    const char* expected; // the list after the scan
    const char* message;
};

const Scan scans[] = {
    // Only ".jpg" names without an underscore, in name order; the category's letter case does not matter.
    {"Boots/boot.jpg|Boots/_boot.jpg|Boots/Anchor.JPG|Boots/red_hat.jpg|Boots/boot.prn|Hats/hat.jpg",
     ScanKind::Category, "BOOTS", "|Boots/Anchor.JPG|Boots/boot.jpg", ""},
    // A folder without ".jpg" files warns at every scan; one with thumbnails only gives an empty list.
    {"Hats/boot.jpg|Boots/notes.txt", ScanKind::Category, "boots", "",
     "Warning - you have no images inside your \"category\" folder of \"boots\""},
    {"Boots/_boot.jpg|Boots/red_hat.jpg|Boots/notes.txt", ScanKind::Category, "Boots", "", ""},
    // The search looks into every folder of the kiosk folder but Attract and Interface and their like.
    {"Attract/boot.jpg|Interface/boot.jpg|Attractions/boot.jpg|interfaces/boot.jpg|Boots/boot.jpg|"
     "Boots/_boot.jpg|Boots/hat.jpg|Shoes/shoe.jpg|Shoes/snow_boot.jpg|Shoes/Deeper/boot.jpg|top.jpg",
     ScanKind::Search, "O", "|Boots/boot.jpg|Shoes/shoe.jpg", ""},
    // A search without hits leaves one empty page.
    {"Shoes/shoe.jpg|Boots/_zip.jpg", ScanKind::Search, "zip", "|", ""},
};

// A pattern, a name as the folder gives it, and whether it matches.
const std::tuple<const char*, QByteArray, bool> matches[] = {
    {"*.jpg", "boot.jpg.txt", false},
    // The text must stand before the final ".jpg", not inside it.
    {"*jp*.jpg", "a.jpg", false},
    {"*jp*.jpg", "a.jpg.jpg", true},
    {"*red hat*.jpg", "Big Red Hat 2.jpg", true},
    // Letters beyond ASCII are compared without regard to case too; bytes that are not UTF-8 still match.
    {"*\u00e4*.jpg", "B\xc3\x84R.JPG", true},
    {"*A*.jpg", "\xc3\xa4pfel and a.jpg", true},
    {"*A*.jpg", "\xc3\xa4pfel.jpg", false},
    {"*E*.jpg", "caf\xe9 e.jpg", true},
};

} // namespace

TEST(Catalogue, ScanListsThePicturesOfTheCategoryOrTheSearch)
{
    for (const Scan& row : scans) {
        SCOPED_TRACE(row.files);
        Kiosk kiosk(row.files);
        kiosk.catalogue.setCurrentCategory(QString::fromUtf8(row.text));
        // Nothing is kept between scans: the second finds the same.
        for (int scan = 0; scan < 2; ++scan)
            kiosk.catalogue.scanPictures(row.kind, QString::fromUtf8(row.text));

        const bool category = row.kind == ScanKind::Category;
        const QStringList& list = category ? kiosk.catalogue.imageList() : kiosk.catalogue.searchResults();
        EXPECT_EQ(QString::fromUtf8(row.expected), kiosk.names(list));
        EXPECT_EQ(category ? 0 : list.size() - list.count(QString()), kiosk.catalogue.searchHitCount());
        const QString message = QString::fromUtf8(row.message);
        EXPECT_EQ(message.isEmpty() ? QStringList() : (QStringList{message, message}),
                  kiosk.messageBox.messages);
    }
}

TEST(Catalogue, MissingCategoryEndsTheKioskWithItsMessage)
{
    for (const char* category : {"Boots", "Hats"}) {
        Kiosk kiosk("Shoes/shoe.jpg|Hats");
        kiosk.catalogue.setCurrentCategory(QString::fromUtf8(category));
        EXPECT_THROW(kiosk.catalogue.scanPictures(ScanKind::Category), ProgramEnded);
        EXPECT_EQ(
            QStringList{
                kiosk.path + '/' + category +
                " does not exist.\r\n\r\nPlease edit your \"quindle.ini\" file file prior to proceeding."},
            kiosk.messageBox.messages);
    }
}

TEST(NamePattern, MatchesNamesAsTheFolderGivesThem)
{
    for (const auto& [text, name, matching] : matches) {
        SCOPED_TRACE(text + (" " + name.toStdString()));
        const NamePattern pattern(QString::fromUtf8(text));
        EXPECT_EQ(matching, pattern.matches(name.constData(), static_cast<size_t>(name.size())));
        EXPECT_EQ(matching, pattern.matches(decodeFileName(name)));
    }
}
