#include "catalogue/NamePattern.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

using namespace quindle;

namespace {

bool matches(const QString& pattern, const QByteArray& name)
{
    return NamePattern(pattern).matches(name.constData(), static_cast<size_t>(name.size()));
}

} // namespace

TEST(NamePattern, StarPatternIgnoresLetterCase)
{
    EXPECT_TRUE(matches(QStringLiteral("*.jpg"), "boot.jpg"));
    EXPECT_TRUE(matches(QStringLiteral("*.jpg"), "Anchor.JPG"));
    EXPECT_TRUE(matches(QStringLiteral("*.jpg"), ".jpg"));
    EXPECT_FALSE(matches(QStringLiteral("*.jpg"), "boot.jpeg"));
    EXPECT_FALSE(matches(QStringLiteral("*.jpg"), "boot.jpg.txt"));
    EXPECT_FALSE(matches(QStringLiteral("*.jpg"), "bootjpg"));
}

TEST(NamePattern, SearchTextStandsAnywhereBeforeTheExtension)
{
    const QString pattern = QStringLiteral("*O*.jpg");
    EXPECT_TRUE(matches(pattern, "boot.jpg"));
    EXPECT_TRUE(matches(pattern, "Oak.jpg"));
    EXPECT_TRUE(matches(pattern, "halo.jpg"));
    EXPECT_FALSE(matches(pattern, "anchor.png"));
    EXPECT_FALSE(matches(pattern, "hat.jpg"));
    // The text must stand before the final ".jpg", not inside it.
    EXPECT_FALSE(matches(QStringLiteral("*jp*.jpg"), "a.jpg"));
    EXPECT_TRUE(matches(QStringLiteral("*jp*.jpg"), "a.jpg.jpg"));
    EXPECT_TRUE(matches(QStringLiteral("**.jpg"), "any.jpg"));
    EXPECT_TRUE(matches(QStringLiteral("*red hat*.jpg"), "Big Red Hat 2.jpg"));
}

TEST(NamePattern, OtherLettersAndInvalidBytesAreMatchedToo)
{
    EXPECT_TRUE(matches(QStringLiteral("*ä*.jpg"), "B\xc3\x84R.JPG"));
    EXPECT_TRUE(matches(QStringLiteral("*A*.jpg"), "\xc3\xa4pfel and a.jpg"));
    EXPECT_FALSE(matches(QStringLiteral("*A*.jpg"), "\xc3\xa4pfel.jpg"));
    EXPECT_TRUE(matches(QStringLiteral("*.jpg"), "caf\xe9.jpg"));
    EXPECT_TRUE(matches(QStringLiteral("*E*.jpg"), "caf\xe9 e.jpg"));
    EXPECT_TRUE(NamePattern(QStringLiteral("*.JPG")).matches(decodeFileName("\xff.jpg")));
}
