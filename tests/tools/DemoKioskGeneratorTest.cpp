#include "tools/demo-kiosk/DemoKioskGenerator.h"
#include "support/TempFolder.h"
#include "tools/demo-kiosk/ClickSound.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace quindle::demo;

namespace {

// Small pictures keep every test quick; the layout still comes from a full-size screen.
DemoKioskOptions smallOptions(const QString& folder)
{
    DemoKioskOptions options;
    options.outputFolder = folder;
    options.categoryCount = 3;
    options.minPicturesPerCategory = 10;
    options.maxPicturesPerCategory = 10;
    options.pictureSize = QSize(80, 60);
    options.thumbnailSize = QSize(40, 30);
    options.noThumbnailEvery = 4;
    options.prnEvery = 3;
    options.slideCount = 2;
    options.screenSize = QSize(640, 360);
    return options;
}

QString generateInto(const DemoKioskOptions& options)
{
    DemoKioskGenerator generator(options);
    return generator.generate();
}

QStringList settingsLines(const QByteArray& bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// key (lower case) -> value, for every line with "=".
QMap<QString, QString> statements(const QStringList& lines)
{
    QMap<QString, QString> result;
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        result.insert(line.left(equals).trimmed().toLower(), line.mid(equals + 1).trimmed());
    }
    return result;
}

QMap<QString, QByteArray> folderDigest(const QString& folder)
{
    QMap<QString, QByteArray> digest;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        digest.insert(QDir(folder).relativeFilePath(path),
                      QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return digest;
}

QSize jpegSize(const QString& path)
{
    QImageReader reader(path);
    if (reader.format() != "jpeg")
        return {};
    const QImage image = reader.read();
    return image.isNull() ? QSize() : image.size();
}

} // namespace

TEST(DemoKioskGenerator, WritesEveryInterfacePictureTheKioskLoads_asDecodableJpegs)
{
    quindle::test::TempFolder temp;
    ASSERT_EQ(QString(), generateInto(smallOptions(temp.path())));
    const QString interface = temp.filePath("Showroom/Interface/");
    QStringList needed{"backdrop.jpg",      "lookup.jpg",   "_thumbnail.jpg", "keyboardFrame.jpg",
                       "keyboardInput.jpg", "keyboard.jpg", "noResults.jpg",  "_kbd.jpg"};
    for (int n = 1; n <= 3; ++n)
        needed << QString("btn%1.jpg").arg(n) << QString("_btn%1.jpg").arg(n);
    for (const QString control : {"prev", "next", "close", "print"})
        needed << control + ".jpg"
               << "_" + control + ".jpg"
               << "-" + control + ".jpg";
    for (const QString button : {"cancel", "clear", "space", "search"})
        needed << button + ".jpg"
               << "_" + button + ".jpg";
    for (const QString& name : needed)
        EXPECT_TRUE(jpegSize(interface + name).isValid()) << qPrintable(name);

    EXPECT_EQ(QSize(660, 264), jpegSize(interface + "keyboard.jpg"));
    EXPECT_EQ(QSize(660, 264), jpegSize(interface + "noResults.jpg"));
    EXPECT_EQ(QSize(66, 66), jpegSize(interface + "_kbd.jpg"));
    EXPECT_EQ(QSize(640, 360), jpegSize(interface + "backdrop.jpg"));
    // A pressed or disabled face must fit exactly where the plain face was sized.
    for (const QString face : {"prev", "next", "close", "print"}) {
        EXPECT_EQ(jpegSize(interface + face + ".jpg"), jpegSize(interface + "_" + face + ".jpg"));
        EXPECT_EQ(jpegSize(interface + face + ".jpg"), jpegSize(interface + "-" + face + ".jpg"));
    }
    EXPECT_EQ(jpegSize(interface + "btn1.jpg"), jpegSize(interface + "_btn1.jpg"));
    EXPECT_EQ(jpegSize(interface + "cancel.jpg").height(), jpegSize(interface + "search.jpg").height());
}

TEST(DemoKioskGenerator, PressedAndDisabledFacesLookDifferentFromThePlainFace)
{
    quindle::test::TempFolder temp;
    ASSERT_EQ(QString(), generateInto(smallOptions(temp.path())));
    const QString interface = temp.filePath("Showroom/Interface/");
    const auto lightness = [&](const QString& name) {
        const QImage image(interface + name);
        qint64 total = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                total += qGray(image.pixel(x, y));
        return total / (image.width() * image.height());
    };
    EXPECT_LT(lightness("_btn1.jpg"), lightness("btn1.jpg"));
    EXPECT_LT(lightness("_next.jpg"), lightness("next.jpg"));
    EXPECT_NE(lightness("-next.jpg"), lightness("next.jpg"));
}

TEST(DemoKioskGenerator, SettingsFileHasEveryStatementKind_inCrLfKeyValueLines)
{
    quindle::test::TempFolder temp;
    DemoKioskOptions options = smallOptions(temp.path());
    options.categoryCount = 5;
    ASSERT_EQ(QString(), generateInto(options));
    EXPECT_EQ(QByteArray("Showroom\r\n"), temp.read("quindleFolder.ini"));
    const QByteArray bytes = temp.read("Showroom/quindle.ini");
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));

    const QStringList lines = settingsLines(bytes);
    int headings = 0;
    for (const QString& line : lines) {
        if (!line.contains('=')) {
            ++headings;
            continue;
        }
        EXPECT_FALSE(line.section('=', 0, 0).trimmed().isEmpty()) << qPrintable(line);
        EXPECT_LE(line.section('=', 1).size(), 100) << qPrintable(line);
    }
    EXPECT_GT(headings, 3);

    const QMap<QString, QString> values = statements(lines);
    for (const QString key : {"btn1",      "btn2",      "btn3",         "btn4",
                              "btn5",      "grid",      "detailview",   "showfilename",
                              "prev",      "close",     "print",        "next",
                              "lookup",    "keyboard",  "keyboardtext", "keyboardbuttons",
                              "attract",   "hidemouse", "timeout",      "attracttimer",
                              "printing",  "jpgtop",    "jpgleft",      "jpgwidth",
                              "jpgheight", "tracking",  "reboot1",      "usbresetcard",
                              "backdrop"})
        EXPECT_TRUE(values.contains(key)) << qPrintable(key);
    EXPECT_FALSE(values.contains("btn6"));

    // Field counts as the kiosk's statements accept them.
    for (const QString key : {"btn1", "btn2", "btn3", "btn4"})
        EXPECT_EQ(7, values[key].count(',')) << qPrintable(key);
    EXPECT_EQ(2, values["btn5"].count(','));
    EXPECT_EQ("Rings", values["btn1"].section(',', 0, 0));
    EXPECT_EQ("Fine_Rings", values["btn1"].section(',', 3, 3));
    EXPECT_EQ(7, values["grid"].count(','));
    EXPECT_EQ(3, values["detailview"].count(','));
    EXPECT_EQ(6, values["showfilename"].count(','));
    EXPECT_EQ(6, values["lookup"].count(','));
    for (const QString key : {"prev", "close", "print", "next", "keyboard", "keyboardtext"})
        EXPECT_EQ(1, values[key].count(',')) << qPrintable(key);
    EXPECT_EQ(3, values["keyboardbuttons"].count(','));
    EXPECT_EQ("PRN", values["printing"]);
    EXPECT_EQ("daily", values["tracking"]);
    EXPECT_EQ("false", values["hidemouse"]);
    EXPECT_EQ("0", values["reboot1"]);
    EXPECT_EQ("false", values["usbresetcard"]);
    EXPECT_TRUE(QFile::exists(temp.filePath("Showroom/Interface/" + values["backdrop"])));
    // Menu button folders exist as category folders.
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(
            QDir(temp.filePath("Showroom/" + values[QString("btn%1").arg(n)].section(',', 0, 0))).exists());
}

TEST(DemoKioskGenerator, KeyboardStatementsPlaceThePicturesInsideTheFrame)
{
    quindle::test::TempFolder temp;
    ASSERT_EQ(QString(), generateInto(smallOptions(temp.path())));
    const QMap<QString, QString> values = statements(settingsLines(temp.read("Showroom/quindle.ini")));
    const QString interface = temp.filePath("Showroom/Interface/");
    const QSize frame = jpegSize(interface + "keyboardFrame.jpg");
    const QSize input = jpegSize(interface + "keyboardInput.jpg");
    const int keyboardLeft = values["keyboard"].section(',', 0, 0).toInt();
    const int keyboardTop = values["keyboard"].section(',', 1, 1).toInt();
    const int buttonHeight = jpegSize(interface + "cancel.jpg").height();
    const int buttonTop = frame.height() - buttonHeight; // where the kiosk puts the buttons

    EXPECT_GE(keyboardTop, input.height());  // keys under the input strip
    EXPECT_LE(keyboardTop + 264, buttonTop); // and above the buttons
    EXPECT_GE(keyboardLeft, 0);
    EXPECT_LE(keyboardLeft + 660, frame.width());
    const int textLeft = values["keyboardtext"].section(',', 0, 0).toInt();
    const int textTop = values["keyboardtext"].section(',', 1, 1).toInt();
    EXPECT_GT(textLeft, (frame.width() - input.width()) / 2); // the search box lies on the strip
    EXPECT_LT(textTop, input.height());

    const QStringList lefts = values["keyboardbuttons"].split(',');
    const QStringList names{"cancel", "clear", "space", "search"};
    int previousRight = 0;
    for (int i = 0; i < 4; ++i) {
        const QSize button = jpegSize(interface + names[i] + ".jpg");
        EXPECT_EQ(buttonHeight, button.height()) << qPrintable(names[i]);
        const int left = lefts[i].toInt();
        EXPECT_GE(left, previousRight) << qPrintable(names[i]);
        previousRight = left + button.width();
    }
    EXPECT_LE(previousRight, frame.width());
}

TEST(DemoKioskGenerator, WritesTheAskedNumbersOfPicturesThumbnailsAndPrintFiles)
{
    quindle::test::TempFolder temp;
    const DemoKioskOptions options = smallOptions(temp.path());
    DemoKioskGenerator generator(options);
    ASSERT_EQ(QString(), generator.generate());
    EXPECT_EQ(30, generator.report().pictures);
    EXPECT_EQ(24, generator.report().thumbnails);
    EXPECT_EQ(9, generator.report().printFiles);
    EXPECT_EQ(2, generator.report().slides);

    for (const QString category : {"Rings", "Necklaces", "Watches"}) {
        const QDir folder(temp.filePath("Showroom/" + category));
        const QStringList pictures = folder.entryList({"*.jpg"}, QDir::Files);
        QStringList plain;
        QStringList thumbnails;
        for (const QString& name : pictures)
            (name.startsWith('_') ? thumbnails : plain) << name;
        EXPECT_EQ(10, plain.size()) << qPrintable(category);
        EXPECT_EQ(8, thumbnails.size()) << qPrintable(category);
        for (const QString& name : plain) {
            EXPECT_FALSE(name.contains('_')) << qPrintable(name);
            EXPECT_EQ(QSize(80, 60), jpegSize(folder.filePath(name))) << qPrintable(name);
        }
        for (const QString& name : thumbnails) {
            EXPECT_TRUE(plain.contains(name.mid(1))) << qPrintable(name);
            EXPECT_EQ(QSize(40, 30), jpegSize(folder.filePath(name))) << qPrintable(name);
        }
        const QStringList printFiles = folder.entryList({"*.prn"}, QDir::Files);
        EXPECT_EQ(3, printFiles.size()) << qPrintable(category);
        for (const QString& name : printFiles) {
            EXPECT_TRUE(plain.contains(name.chopped(4) + ".jpg")) << qPrintable(name);
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_TRUE(file.readAll().contains(name.chopped(4).toLatin1())) << qPrintable(name);
        }
    }
    EXPECT_EQ(2, QDir(temp.filePath("Showroom/Attract")).entryList({"*.jpg"}, QDir::Files).size());
    EXPECT_EQ(QSize(640, 360), jpegSize(temp.filePath("Showroom/Attract/Slide 1.jpg")));
}

TEST(DemoKioskGenerator, LargeCategoryGetsUniqueNames)
{
    quindle::test::TempFolder temp;
    DemoKioskOptions options = smallOptions(temp.path());
    options.categoryCount = 1;
    options.minPicturesPerCategory = options.maxPicturesPerCategory = 400;
    options.pictureSize = QSize(16, 12);
    options.thumbnailSize = QSize(8, 8);
    options.slideCount = 0;
    options.noThumbnailEvery = 0;
    options.prnEvery = 0;
    DemoKioskGenerator generator(options);
    ASSERT_EQ(QString(), generator.generate());
    const QDir folder(temp.filePath("Showroom/Rings"));
    EXPECT_EQ(800, folder.entryList({"*.jpg"}, QDir::Files).size());
    EXPECT_EQ(0, folder.entryList({"*.prn"}, QDir::Files).size());
}

TEST(DemoKioskGenerator, SameSeedGivesIdenticalFiles_otherSeedDoesNot)
{
    quindle::test::TempFolder first;
    quindle::test::TempFolder second;
    quindle::test::TempFolder third;
    DemoKioskOptions options = smallOptions(first.path());
    options.minPicturesPerCategory = 3;
    options.maxPicturesPerCategory = 8;
    options.seed = 7;
    options.threads = 2;
    ASSERT_EQ(QString(), generateInto(options));
    options.outputFolder = second.path();
    options.threads = 1;
    ASSERT_EQ(QString(), generateInto(options));
    options.outputFolder = third.path();
    options.seed = 8;
    ASSERT_EQ(QString(), generateInto(options));

    const auto firstDigest = folderDigest(first.path());
    EXPECT_GT(firstDigest.size(), 40);
    EXPECT_EQ(firstDigest, folderDigest(second.path()));
    EXPECT_NE(firstDigest.keys(), folderDigest(third.path()).keys());
}

TEST(DemoKioskGenerator, PicturesPerCategoryRangeIsDrawnPerCategory)
{
    quindle::test::TempFolder temp;
    DemoKioskOptions options = smallOptions(temp.path());
    options.categoryCount = 5;
    options.minPicturesPerCategory = 2;
    options.maxPicturesPerCategory = 6;
    options.noThumbnailEvery = 0;
    DemoKioskGenerator generator(options);
    ASSERT_EQ(QString(), generator.generate());
    int total = 0;
    for (const QString category : {"Rings", "Necklaces", "Watches", "Bracelets", "Earrings"}) {
        const int count = static_cast<int>(
            QDir(temp.filePath("Showroom/" + category)).entryList({"[!_]*.jpg"}, QDir::Files).size());
        EXPECT_GE(count, 2) << qPrintable(category);
        EXPECT_LE(count, 6) << qPrintable(category);
        total += count;
    }
    EXPECT_EQ(generator.report().pictures, total);
}

TEST(DemoKioskGenerator, PrintingChoiceAndSettingsOnly)
{
    quindle::test::TempFolder temp;
    DemoKioskOptions options = smallOptions(temp.path());
    options.printing = PrintingChoice::Jpg;
    options.settingsOnly = true;
    options.kioskName = "Window";
    ASSERT_EQ(QString(), generateInto(options));
    EXPECT_EQ(QByteArray("Window\r\n"), temp.read("quindleFolder.ini"));
    EXPECT_EQ("JPG", statements(settingsLines(temp.read("Window/quindle.ini")))["printing"]);
    EXPECT_EQ(QStringList{"quindle.ini"},
              QDir(temp.filePath("Window")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot));
    EXPECT_FALSE(QFile::exists(temp.filePath("click.wav")));

    options.printing = PrintingChoice::Off;
    ASSERT_EQ(QString(), generateInto(options));
    EXPECT_EQ("false", statements(settingsLines(temp.read("Window/quindle.ini")))["printing"]);
}

TEST(DemoKioskGenerator, ReportsAFolderThatCannotBeWritten)
{
    quindle::test::TempFolder temp;
    temp.write("blocked", "a file where the program folder should be");
    EXPECT_NE(QString(), generateInto(smallOptions(temp.filePath("blocked"))));
}

TEST(ClickSound, IsAShortPcmWave_44100Hz16BitMono)
{
    const QByteArray wav = ClickSound::wavBytes();
    ASSERT_GT(wav.size(), 44);
    EXPECT_EQ(QByteArray("RIFF"), wav.left(4));
    EXPECT_EQ(QByteArray("WAVEfmt "), wav.mid(8, 8));
    const auto u16 = [&](int at) {
        return qFromLittleEndian<quint16>(wav.constData() + at);
    };
    const auto u32 = [&](int at) {
        return qFromLittleEndian<quint32>(wav.constData() + at);
    };
    EXPECT_EQ(quint32(wav.size() - 8), u32(4));
    EXPECT_EQ(1, u16(20)); // PCM
    EXPECT_EQ(1, u16(22)); // mono
    EXPECT_EQ(44100u, u32(24));
    EXPECT_EQ(16, u16(34));
    EXPECT_EQ(QByteArray("data"), wav.mid(36, 4));
    const double milliseconds = u32(40) / 2.0 / 44.1;
    EXPECT_NEAR(30.0, milliseconds, 5.0);
    // Soft: no sample near full scale.
    int loudest = 0;
    for (int at = 44; at + 1 < wav.size(); at += 2)
        loudest = std::max(loudest, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + at))));
    EXPECT_GT(loudest, 1000);
    EXPECT_LT(loudest, 16000);
}

TEST(DemoKioskProgram, WritesAFolderFromItsCommandLine_andRefusesBadOptions)
{
    quindle::test::TempFolder temp;
    const QString program = QString(QUINDLE_BINARY_DIR) + "/tools/demo-kiosk/quindle-demo-kiosk";
    QProcess run;
    run.start(program, {"--output", temp.path(), "--width", "640", "--height", "360", "--categories", "2",
                        "--pictures-per-category", "3", "--picture-size", "64x48", "--thumbnail-size",
                        "32x24", "--slides", "1", "--seed", "3"});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(0, run.exitCode()) << run.readAllStandardError().constData();
    EXPECT_TRUE(QFile::exists(temp.filePath("click.wav")));
    EXPECT_TRUE(QFile::exists(temp.filePath("Showroom/Interface/keyboard.jpg")));
    EXPECT_EQ(3, QDir(temp.filePath("Showroom/Necklaces")).entryList({"[!_]*.jpg"}, QDir::Files).size());

    run.start(program, {"--output", temp.path(), "--categories", "10"});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(2, run.exitCode());
    EXPECT_TRUE(run.readAllStandardError().contains("--categories"));
}
