#include "catalogue/FolderListing.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

TEST(FolderListing, FilesAndFoldersInNameOrderIgnoringCaseWithStableTies)
{
    TempFolder folder;
    const auto at = [&](const char* name) {
        return folder.filePath(QString::fromLatin1(name));
    };
    for (const char* name : {"b.jpg", "C.jpg", "B.jpg", "a.JPG", "a1.jpg", "_b.jpg", "notes.txt",
                             ".hidden.jpg", "Deeper/boot.jpg", "pictures/real.jpg", ".git/HEAD"})
        folder.write(QString::fromLatin1(name));
    // Neither folders nor pipes are files; a link counts as what it points to.
    folder.makeFolder(QStringLiteral("folder.jpg"));
    ASSERT_EQ(0, ::mkfifo(encodeFileName(at("pipe.jpg")).constData(), 0644));
    QFile::link(at("pictures/real.jpg"), at("linked.jpg"));
    QFile::link(at("missing.jpg"), at("dangling.jpg"));
    QFile::link(at("Deeper"), at("More"));

    EXPECT_EQ(QStringLiteral("_b.jpg|a.JPG|a1.jpg|B.jpg|b.jpg|C.jpg|linked.jpg"),
              FolderListing::listFiles(folder.path(), QStringLiteral("*.jpg")).join('|'));
    const QStringList folders{at("Deeper"), at("folder.jpg"), at("More"), at("pictures")};
    EXPECT_EQ(folders, FolderListing::listFolders(folder.path()));
    EXPECT_EQ(folders, FolderListing::listFolders(folder.path() + QLatin1Char('/')));
    EXPECT_EQ(QStringList(), FolderListing::listFiles(at("gone"), QStringLiteral("*")));
    EXPECT_EQ(QStringList(), FolderListing::listFolders(at("gone")));
}

TEST(FolderListing, NamesThatAreNotUtf8AreListedAndOpenAgain)
{
    // Files named by raw bytes: QFile cannot name every one.
    TempFolder folder;
    for (const QByteArray name : {"caf\xe9.jpg", "\xc3\x84pfel, \"rot\".jpg", "zebra.jpg"})
        ::close(::open((encodeFileName(folder.path()) + '/' + name).constData(), O_WRONLY | O_CREAT, 0644));

    const QStringList names = FolderListing::listFiles(folder.path(), QStringLiteral("*.jpg"));
    ASSERT_EQ(3, names.size());
    EXPECT_EQ(QByteArray("caf\xe9.jpg"), encodeFileName(names[0]));
    EXPECT_EQ(QStringLiteral("zebra.jpg"), names[1]);
    EXPECT_EQ(QStringLiteral("Äpfel, \"rot\".jpg"), names[2]);
    for (const QString& name : names)
        EXPECT_TRUE(fileExists(joinPath(folder.path(), name))) << name.toStdString();
}
