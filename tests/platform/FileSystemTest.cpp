#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <QByteArray>
#include <QString>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

TEST(FileSystem, PathSplitsAtTheLastSeparator)
{
    const QString longName = QString(150, QLatin1Char('n')) + QStringLiteral(".jpg");
    const QString longFolder = QStringLiteral("/srv/") + QString(120, QLatin1Char('d')) + QStringLiteral("/");
    struct Row
    {
        QString path;
        QString folder;
        QString name;
    };
    const Row rows[] = {
        {QStringLiteral("/srv/kiosk/Shoes/boot.jpg"), QStringLiteral("/srv/kiosk/Shoes/"),
         QStringLiteral("boot.jpg")},
        {QStringLiteral("boot.jpg"), QString(), QStringLiteral("boot.jpg")},
        {QStringLiteral("/srv/kiosk/Shoes/"), QStringLiteral("/srv/kiosk/Shoes/"), QString()},
        {QStringLiteral("/"), QStringLiteral("/"), QString()},
        {QString(), QString(), QString()},
        {longFolder + longName, longFolder, longName},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        EXPECT_EQ(row.folder, folderOf(row.path));
        EXPECT_EQ(row.name, fileNameOf(row.path));
        EXPECT_EQ(row.path, folderOf(row.path) + fileNameOf(row.path));
    }
}

TEST(FileSystem, NamesKeepTheirBytesThroughText)
{
    const auto kept = [](char16_t byte) {
        return QString(QChar(static_cast<char16_t>(0xDC00 + byte)));
    };
    struct Row
    {
        const char* label;
        QByteArray bytes;
        QString text;
    };
    const Row rows[] = {
        {"ASCII", "boot.jpg", QStringLiteral("boot.jpg")},
        {"UTF-8", "caf\xc3\xa9.jpg", QStringLiteral("caf\u00e9.jpg")},
        {"outside the basic plane", "\xf0\x9f\x98\x80", QStringLiteral("\U0001F600")},
        {"Latin-1 byte", "caf\xe9.jpg", QStringLiteral("caf") + kept(0xE9) + QStringLiteral(".jpg")},
        {"bytes between valid runs", "\xff\xc3\xa9x\xfe",
         kept(0xFF) + QStringLiteral("\u00e9x") + kept(0xFE)},
        {"overlong form", "\xc0\xaf", kept(0xC0) + kept(0xAF)},
        {"encoded surrogate", "\xed\xa0\x80", kept(0xED) + kept(0xA0) + kept(0x80)},
        {"cut sequence", "a\xe2\x82", QStringLiteral("a") + kept(0xE2) + kept(0x82)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.text, decodeFileName(row.bytes));
        EXPECT_EQ(row.bytes, encodeFileName(decodeFileName(row.bytes)));
    }
}

TEST(FileSystem, WriteAllWritesTheWholeBlockOrSaysHowMuch)
{
    TempFolder folder;
    const QByteArray block(3 * 1024 * 1024, 'q');
    const QString path = folder.filePath(QStringLiteral("block.bin"));
    const int file = ::open(encodeFileName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0);
    EXPECT_EQ(block.size(), writeAll(file, block));
    ::close(file);
    EXPECT_EQ(block, folder.read(QStringLiteral("block.bin")));

    // A device that is always full takes nothing.
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    EXPECT_EQ(0, writeAll(full, block));
    ::close(full);
}
