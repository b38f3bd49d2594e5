#include "SettingsFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

TEST(SettingsLocation, MissingPointerFile_endsWithItsMessage)
{
    TempFolder program;
    const SettingsResult result = SettingsReader(program.path()).read();
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(QStringLiteral("Missing the \"quindleFolder.ini\" file - program will terminate"),
              result.message);
}

TEST(SettingsLocation, PointerToMissingFolder_namesTheFolderAsWritten)
{
    TempFolder program;
    program.write(QStringLiteral("quindleFolder.ini"), "  Shop Kiosk  \r\n");
    EXPECT_EQ(QStringLiteral("The folder name of \"Shop Kiosk\" does not exist - please edit the "
                             "\"quindleFolder.ini\" file to point to a valid folder."),
              SettingsReader(program.path()).read().message);
}

TEST(SettingsLocation, EmptyPointerFile_isRefused)
{
    const QString expected =
        QStringLiteral("The \"quindleFolder.ini\" file names no folder - please edit the "
                       "\"quindleFolder.ini\" file to point to a valid folder.");
    for (const QByteArray& pointer : {QByteArray(), QByteArray("   \r\nKiosk\r\n")}) {
        TempFolder program;
        program.makeFolder(QStringLiteral("Kiosk"));
        program.write(QStringLiteral("quindleFolder.ini"), pointer);
        EXPECT_EQ(expected, SettingsReader(program.path()).read().message);
    }
}

TEST(SettingsLocation, MissingSettingsFile_namesTheKioskFolder)
{
    SettingsFolder kiosk;
    EXPECT_EQ(
        QStringLiteral("Missing the \"quindle.ini\" file in the \"Kiosk\" folder - program will terminate."),
        SettingsReader(kiosk.programFolder()).read().message);
}

TEST(SettingsLocation, PointerLine_isTrimmedAndLaterLinesIgnored)
{
    SettingsFolder kiosk;
    kiosk.folder().write(QStringLiteral("quindleFolder.ini"), "   Kiosk   \r\nElsewhere\r\n");
    const KioskSettings settings = kiosk.accepted(requiredStatements);
    EXPECT_EQ(QStringLiteral("Kiosk"), settings.kioskFolder);
    EXPECT_EQ(kiosk.folder().filePath(QStringLiteral("Kiosk")), settings.kioskFolderPath);
    EXPECT_EQ(kiosk.folder().filePath(QStringLiteral("Kiosk/Interface/")), settings.interfaceFolder);
}

TEST(SettingsLocation, NamesAreFoundWithoutRegardToCase)
{
    TempFolder program;
    program.write(QStringLiteral("QUINDLEFOLDER.INI"), "kiosk");
    program.makeFolder(QStringLiteral("KIOSK/interface"));
    program.write(QStringLiteral("KIOSK/Quindle.INI"), requiredStatements);

    const SettingsResult result = SettingsReader(program.path()).read();
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(QStringLiteral("kiosk"), result.settings->kioskFolder); // as written
    EXPECT_EQ(program.filePath(QStringLiteral("KIOSK")), result.settings->kioskFolderPath);
    EXPECT_EQ(program.filePath(QStringLiteral("KIOSK/interface/")), result.settings->interfaceFolder);
}

TEST(SettingsLocation, WindowsPathInPointerFile_usesForwardSlashes)
{
    TempFolder program;
    program.write(QStringLiteral("quindleFolder.ini"), "Shops\\Kiosk\r\n");
    program.write(QStringLiteral("Shops/Kiosk/quindle.ini"), requiredStatements);

    const SettingsResult result = SettingsReader(program.path()).read();
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(QStringLiteral("Shops\\Kiosk"), result.settings->kioskFolder); // as written, for the messages
    // The Interface folder's existence is start-up's test; its name is still given.
    EXPECT_EQ(program.filePath(QStringLiteral("Shops/Kiosk/Interface/")), result.settings->interfaceFolder);
}

TEST(SettingsLocation, SettingsFileThatIsAFolder_countsAsMissing)
{
    SettingsFolder kiosk;
    kiosk.folder().makeFolder(QStringLiteral("Kiosk/quindle.ini"));
    EXPECT_EQ(
        QStringLiteral("Missing the \"quindle.ini\" file in the \"Kiosk\" folder - program will terminate."),
        SettingsReader(kiosk.programFolder()).read().message);
}
