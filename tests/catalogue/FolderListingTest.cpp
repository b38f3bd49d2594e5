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
    const int fd =
        ::open((encodeFileName(folder) + '/' + name).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
}

} // namespace

TEST(FolderListing, FilesInNameOrderIgnoringCaseWithStableTies)
{
    TempFolder folder;
    for (const char* name : {"b.jpg", "C.jpg", "B.jpg", "a.JPG", "a1.jpg", "_b.jpg", "notes.txt",
                             ".hidden.jpg", "deeper/boot.jpg", "pictures/real.jpg"})
        folder.write(QString::fromLatin1(name));
    // Neither folders nor pipes are files; a link counts as what it points to.
    folder.makeFolder(QStringLiteral("folder.jpg"));
    ASSERT_EQ(0, ::mkfifo(encodeFileName(folder.filePath(QStringLiteral("pipe.jpg"))).constData(), 0644));
    QFile::link(folder.filePath(QStringLiteral("pictures/real.jpg")),
                folder.filePath(QStringLiteral("linked.jpg")));
    QFile::link(folder.filePath(QStringLiteral("missing.jpg")),
                folder.filePath(QStringLiteral("dangling.jpg")));

    const QStringList expected{QStringLiteral("_b.jpg"),    QStringLiteral("a.JPG"), QStringLiteral("a1.jpg"),
                               QStringLiteral("B.jpg"),     QStringLiteral("b.jpg"), QStringLiteral("C.jpg"),
                               QStringLiteral("linked.jpg")};
    EXPECT_EQ(expected, FolderListing::listFiles(folder.path(), QStringLiteral("*.jpg")));
    EXPECT_EQ(QStringList(),
              FolderListing::listFiles(folder.filePath(QStringLiteral("gone")), QStringLiteral("*")));
}

TEST(FolderListing, FoldersAsFullPathsInNameOrder)
{
    TempFolder folder;
    for (const char* name : {"Shoes", "attract", "Boots/Inner", ".git", "Interface"})
        folder.makeFolder(QString::fromLatin1(name));
    folder.write(QStringLiteral("Hats"));
    QFile::link(folder.filePath(QStringLiteral("Boots")), folder.filePath(QStringLiteral("More")));

    QStringList expected;
    for (const char* name : {"attract", "Boots", "Interface", "More", "Shoes"})
        expected.append(folder.filePath(QString::fromLatin1(name)));
    EXPECT_EQ(expected, FolderListing::listFolders(folder.path()));
    EXPECT_EQ(expected, FolderListing::listFolders(folder.path() + QLatin1Char('/')));
    EXPECT_EQ(QStringList(), FolderListing::listFolders(folder.filePath(QStringLiteral("gone"))));
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
