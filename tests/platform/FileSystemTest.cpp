#include "platform/FileSystem.h"
#include "support/QtPrinters.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace quindle;

TEST(FileSystem, PathSplitsAtTheLastSeparator)
{
    for (const auto& [path, folder] :
         {std::pair{"/srv/Shoes/boot.jpg", "/srv/Shoes/"}, std::pair{"boot.jpg", ""},
          std::pair{"/srv/Shoes/", "/srv/Shoes/"}, std::pair{"/", "/"}}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(QString::fromUtf8(folder), folderOf(QString::fromUtf8(path)));
        EXPECT_EQ(QString::fromUtf8(path + std::strlen(folder)), fileNameOf(QString::fromUtf8(path)));
    }
}

TEST(FileSystem, NamesKeepTheirBytesThroughText)
{
    const auto kept = [](char16_t byte) {
        return QString(QChar(static_cast<char16_t>(0xDC00 + byte)));
    };
    const std::pair<QByteArray, QString> rows[] = {
        {"caf\xc3\xa9 \xf0\x9f\x98\x80", QStringLiteral("caf\u00e9 \U0001F600")},
        {"caf\xe9.jpg", QStringLiteral("caf") + kept(0xE9) + QStringLiteral(".jpg")},
        {"\xff\xc3\xa9x", kept(0xFF) + QStringLiteral("\u00e9x")},
        {"\xc0\xaf", kept(0xC0) + kept(0xAF)},                        // overlong form
        {"\xed\xa0\x80", kept(0xED) + kept(0xA0) + kept(0x80)},       // encoded surrogate
        {"a\xe2\x82", QStringLiteral("a") + kept(0xE2) + kept(0x82)}, // cut sequence
        {"\xef\xbb\xbf.jpg", QStringLiteral("\ufeff.jpg")},           // byte order mark first
        {"\xef\xbb\xbf\xff", QStringLiteral("\ufeff") + kept(0xFF)},
    };
    for (const auto& [bytes, text] : rows) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        EXPECT_EQ(text, decodeFileName(bytes));
        EXPECT_EQ(bytes, encodeFileName(text));
    }
}
