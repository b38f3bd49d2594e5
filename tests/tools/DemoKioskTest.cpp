#include "support/KioskFolder.h"
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

// Writes a small demo kiosk into the folder and returns what went wrong: small pictures keep the
// run quick, thumbnails and print files for some pictures only. The options are read from a
// command line as the owner would give it.
QString generate(const QString& folder, const QStringList& more = {})
{
    const DemoKioskCommandLine line(QStringList{"quindle-demo-kiosk", "--output", folder, "--categories", "3",
                                                "--pictures-per-category", "6-14", "--picture-size", "80x60",
                                                "--thumbnail-size", "40x30", "--slides", "2", "--width",
                                                "640", "--height", "360"} +
                                    more);
    if (line.outcome() != DemoKioskCommandLine::Outcome::Run)
        return line.error();
    return DemoKioskGenerator(line.options()).generate();
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

// The owner's check and preview of the demo folder find no problem, the preview draws every screen,
// and both leave the program folder as it was: no tracking line, no file moved. The kiosk itself
// runs on generated folders in every system test.
TEST(DemoKiosk, PassesTheOwnersCheckAndPreview_andNeitherWritesInTheFolder)
{
    KioskFolder folder;
    // The keyboard's pictures have one size: they need the full-size screen.
    ASSERT_EQ(QString(), generate(folder.programFolder(), {"--width", "1920", "--height", "1080"}));
    folder.temp().write("hang.txt");
    const QMap<QString, QByteArray> before = filesOf(folder.programFolder());
    QString out;
    EXPECT_EQ(0, quindle::test::runAdmin({"check", "--program-folder", folder.programFolder()}, out));
    EXPECT_TRUE(out.contains(QStringLiteral("0 errors, 0 warnings, "))) << out.toStdString();
    out.clear();
    const TempFolder output;
    EXPECT_EQ(0,
              quindle::test::runAdmin(
                  {"preview", "--program-folder", folder.programFolder(), "--output", output.path()}, out));
    EXPECT_EQ(
        QStringLiteral("Wrote 9 pictures and index.html to %1: 0 layout problems.\n").arg(output.path()),
        out);
    EXPECT_EQ(before, filesOf(folder.programFolder()));
    EXPECT_EQ(10, QDir(output.path()).entryList(QDir::Files).size());
}

TEST(DemoKiosk, SameSeedWritesTheSameBytes_whateverTheThreads)
{
    TempFolder first;
    TempFolder second;
    TempFolder other;
    ASSERT_EQ(QString(), generate(first.path(), {"--seed", "7", "--threads", "2"}));
    ASSERT_EQ(QString(), generate(second.path(), {"--seed", "7", "--threads", "1"}));
    ASSERT_EQ(QString(), generate(other.path(), {"--seed", "8"}));

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
