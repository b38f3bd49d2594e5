#include "catalogue/FolderListing.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Creates an empty file whose name is given as raw bytes (QFile cannot name every one).
void touchBytes(const QString& folder, const QByteArray& name)
{
    const QByteArray path = encodeFileName(folder) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
}

} // namespace

TEST(FolderListing, FilesInNameOrderIgnoringCaseWithStableTies)
{
    TempFolder folder;
    for (const char* name : {"b.jpg", "C.jpg", "B.jpg", "a.JPG", "a1.jpg", "_b.jpg", "notes.txt"})
        folder.write(QString::fromLatin1(name));

    const QStringList expected{QStringLiteral("_b.jpg"), QStringLiteral("a.JPG"), QStringLiteral("a1.jpg"),
                               QStringLiteral("B.jpg"),  QStringLiteral("b.jpg"), QStringLiteral("C.jpg")};
    EXPECT_EQ(expected, FolderListing::listFiles(folder.path(), QStringLiteral("*.jpg")));
}

TEST(FolderListing, FilesLeaveOutHiddenFoldersAndDeeperFiles)
{
    TempFolder folder;
    folder.write(QStringLiteral("shoe.jpg"));
    folder.write(QStringLiteral(".hidden.jpg"));
    folder.write(QStringLiteral("deeper/boot.jpg"));
    folder.makeFolder(QStringLiteral("folder.jpg"));
    ASSERT_EQ(0, ::mkfifo(encodeFileName(folder.filePath(QStringLiteral("pipe.jpg"))).constData(), 0644));

    EXPECT_EQ(QStringList{QStringLiteral("shoe.jpg")},
              FolderListing::listFiles(folder.path(), QStringLiteral("*.jpg")));
}

TEST(FolderListing, LinksCountAsWhatTheyPointTo)
{
    TempFolder folder;
    const QString target = folder.write(QStringLiteral("pictures/real.jpg"));
    QFile::link(target, folder.filePath(QStringLiteral("linked.jpg")));
    QFile::link(folder.filePath(QStringLiteral("missing.jpg")),
                folder.filePath(QStringLiteral("dangling.jpg")));
    QFile::link(folder.filePath(QStringLiteral("pictures")), folder.filePath(QStringLiteral("More")));

    EXPECT_EQ(QStringList{QStringLiteral("linked.jpg")},
              FolderListing::listFiles(folder.path(), QStringLiteral("*.jpg")));
    EXPECT_EQ(
        (QStringList{folder.filePath(QStringLiteral("More")), folder.filePath(QStringLiteral("pictures"))}),
        FolderListing::listFolders(folder.path()));
}

TEST(FolderListing, FoldersAsFullPathsInNameOrder)
{
    TempFolder folder;
    for (const char* name : {"Shoes", "attract", "Boots", ".git", "Interface"})
        folder.makeFolder(QString::fromLatin1(name));
    folder.write(QStringLiteral("Hats"));
    folder.makeFolder(QStringLiteral("Boots/Inner"));

    const QStringList expected{
        folder.filePath(QStringLiteral("attract")), folder.filePath(QStringLiteral("Boots")),
        folder.filePath(QStringLiteral("Interface")), folder.filePath(QStringLiteral("Shoes"))};
    EXPECT_EQ(expected, FolderListing::listFolders(folder.path()));
    EXPECT_EQ(expected, FolderListing::listFolders(folder.path() + QLatin1Char('/')));
}

TEST(FolderListing, NamesThatAreNotUtf8AreListedAndOpenAgain)
{
    TempFolder folder;
    touchBytes(folder.path(), "caf\xe9.jpg");
    touchBytes(folder.path(), "\xc3\x84pfel, \"rot\".jpg");
    touchBytes(folder.path(), "zebra.jpg");

    const QStringList names = FolderListing::listFiles(folder.path(), QStringLiteral("*.jpg"));
    ASSERT_EQ(3, names.size());
    EXPECT_EQ(QByteArray("caf\xe9.jpg"), encodeFileName(names[0]));
    EXPECT_EQ(QStringLiteral("zebra.jpg"), names[1]);
    EXPECT_EQ(QStringLiteral("Äpfel, \"rot\".jpg"), names[2]);
    for (const QString& name : names)
        EXPECT_TRUE(fileExists(joinPath(folder.path(), name))) << name.toStdString();
}

TEST(FolderListing, MissingFolderListsNothing)
{
    TempFolder folder;
    EXPECT_TRUE(
        FolderListing::listFiles(folder.filePath(QStringLiteral("gone")), QStringLiteral("*")).isEmpty());
    EXPECT_TRUE(FolderListing::listFolders(folder.filePath(QStringLiteral("gone"))).isEmpty());
}
