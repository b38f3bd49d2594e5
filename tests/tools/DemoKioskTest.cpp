#include "support/KioskHarness.h"
#include "system/admin/AdminRun.h"
#include "tools/demo-kiosk/DemoKioskCommandLine.h"
#include "tools/demo-kiosk/DemoKioskGenerator.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QMap>
#include <gtest/gtest.h>

using namespace quindle::demo;
using quindle::test::KioskFolder;
using quindle::test::TempFolder;

namespace {

// Small pictures keep the run quick; thumbnails and print files for some pictures only.
DemoKioskOptions smallOptions(const QString& folder)
{
    DemoKioskOptions options;
    options.outputFolder = folder;
    options.categoryCount = 3;
    options.minPicturesPerCategory = 6;
    options.maxPicturesPerCategory = 14;
    options.pictureSize = QSize(80, 60);
    options.thumbnailSize = QSize(40, 30);
    options.slideCount = 2;
    options.screenSize = QSize(640, 360);
    return options;
}

// Every file below the folder and a digest of its bytes.
QMap<QString, QByteArray> filesOf(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
        files.insert(it.filePath().mid(folder.size()),
                     QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return files;
}

} // namespace

TEST(DemoKiosk, GeneratedFolderPassesTheOwnersCheck_andTheKioskStartsOnIt)
{
    KioskFolder folder;
    ASSERT_EQ(QString(), DemoKioskGenerator(smallOptions(folder.programFolder())).generate());
    QString out;
    EXPECT_EQ(0, quindle::test::runAdmin({"check", "--program-folder", folder.programFolder()}, out));
    EXPECT_TRUE(out.contains(QStringLiteral("0 errors, 0 warnings, "))) << out.toStdString();

    quindle::test::KioskHarness kiosk(folder);
    ASSERT_TRUE(kiosk.start()) << kiosk.messageBox.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(kiosk.controls().btnThumbnail[1]->hasPicture());
    EXPECT_EQ(QStringList(), kiosk.messageBox.messages);
}

TEST(DemoKiosk, SameSeedWritesTheSameBytes_whateverTheThreads)
{
    TempFolder first;
    TempFolder second;
    TempFolder other;
    DemoKioskOptions options = smallOptions(first.path());
    options.seed = 7;
    options.threads = 2;
    ASSERT_EQ(QString(), DemoKioskGenerator(options).generate());
    options.outputFolder = second.path();
    options.threads = 1;
    ASSERT_EQ(QString(), DemoKioskGenerator(options).generate());
    options.outputFolder = other.path();
    options.seed = 8;
    ASSERT_EQ(QString(), DemoKioskGenerator(options).generate());

    const QMap<QString, QByteArray> files = filesOf(first.path());
    EXPECT_GT(files.size(), 40);
    EXPECT_EQ(files, filesOf(second.path()));
    EXPECT_NE(files, filesOf(other.path()));
}

// Each row a distinct fault: a value out of range, a range the wrong way round, a value that is
// no number or size, a name that would leave the folder, an unknown option, a stray word.
TEST(DemoKiosk, CommandLineRefusesBadValues_namingTheOption)
{
    const struct
    {
        QStringList arguments;
        const char* named; // in the error
    } cases[] = {
        {{}, "--output"},
        {{"--output", "out", "--categories", "10"}, "--categories"},
        {{"--output", "out", "--pictures-per-category", "40-15"}, "--pictures-per-category"},
        {{"--output", "out", "--pictures-per-category", "a-b"}, "--pictures-per-category"},
        {{"--output", "out", "--picture-size", "1200"}, "--picture-size"},
        {{"--output", "out", "--thumbnail-size", "0x10"}, "--thumbnail-size"},
        {{"--output", "out", "--printing", "yes"}, "--printing"},
        {{"--output", "out", "--seed", "-1x"}, "--seed"},
        {{"--output", "out", "--kiosk-name", "a/b"}, "--kiosk-name"},
        {{"--output", "out", "--unknown"}, "unknown"},
        {{"--output", "out", "stray"}, "stray"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
        const DemoKioskCommandLine line(QStringList{"quindle-demo-kiosk"} + row.arguments);
        EXPECT_EQ(DemoKioskCommandLine::Outcome::Error, line.outcome());
        EXPECT_TRUE(line.error().contains(QLatin1String(row.named))) << line.error().toStdString();
    }
}
