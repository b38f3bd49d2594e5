#include "support/KioskFolder.h"
#include "system/admin/AdminRun.h"

#include <QImage>
#include <gtest/gtest.h>

using quindle::test::KioskFolder;

namespace {

// The owner's preview of the folder into output: its exit status, and in out what it printed.
int preview(const KioskFolder& folder, const QString& output, QString& out, const QStringList& more = {})
{
    return quindle::test::runAdmin(
        QStringList{"preview", "--program-folder", folder.programFolder(), "--output", output} + more, out);
}

// The colour of a pixel is compared loosely: the pictures pass through JPEG.
bool near(QColor expected, QColor actual)
{
    return std::abs(expected.red() - actual.red()) < 12 && std::abs(expected.green() - actual.green()) < 12 &&
           std::abs(expected.blue() - actual.blue()) < 12;
}

} // namespace

// Each row adds settings after the standard settings' 19 lines or removes a file, and gives how
// the output begins. Standard error is in it too: a kiosk that would start gets nothing but its
// layout problems before the summary; one that would not start ends with the kiosk's message and
// no screen drawn.
TEST(Preview, ProblemsNamedWithTheirStatements)
{
    const struct
    {
        QStringList extraSettings;
        const char* removed;
        QString printed;
        int status = 0;
    } cases[] = {
        {{"btn3 = Watches, 150, 120", "keyboard = 700, 60", "keyboardText = 40, 440"},
         nullptr,
         "Kiosk/quindle.ini:21: warning: keyboard lies partly outside the backdrop (800 x 600): 700, 60 to "
         "1360, 324\n"
         "Kiosk/quindle.ini:22: warning: keyboardText lies wholly outside the keyboard frame "
         "(700 x 420 at 0, 0): 40, 440 to 624, 480\n"
         "Kiosk/quindle.ini:20: warning: btn3 overlaps grid (line 5): "
         "a press there reaches only one of them\nWrote "},
        {{"detailView = 100, 100, 300, 320"},
         nullptr,
         "Kiosk/quindle.ini:20: warning: detailView and prev (line 7) overlap: the detail view covers the "
         "button while a picture is shown\n"
         "Kiosk/quindle.ini:20: warning: detailView and close (line 8) overlap: the detail view covers the "
         "button while a picture is shown\nWrote "},
        {{"grid = 4, 3, 400, 30, 100, 100, 10, 20"},
         nullptr,
         "Kiosk/quindle.ini:20: warning: The thumbnail grid (1630 x 130 pixels) is larger than the backdrop "
         "(800 x 600)\nWrote "},
        {{"grid = 4,3,240"},
         nullptr,
         "Kiosk/quindle.ini:20: error: You have an improper grid format statement: \"grid = 4,3,240\"",
         1},
        {{},
         "Kiosk/Interface/next.jpg",
         "Kiosk/quindle.ini:10: error: Cannot locate JPG image next.jpg - Program Terminating.\n",
         1},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.printed.toStdString());
        KioskFolder folder;
        folder.writeStandardKiosk(row.extraSettings);
        if (row.removed)
            QFile::remove(folder.temp().filePath(row.removed));
        QString out;
        EXPECT_EQ(row.status, preview(folder, folder.temp().filePath("preview"), out));
        EXPECT_TRUE(out.startsWith(row.printed)) << out.toStdString();
        EXPECT_EQ(row.status == 0, QFile::exists(folder.temp().filePath("preview/start.png")));
    }
}

// The standard grid puts its first slot at 100, 100 (40 x 30); the detail frame is 300 x 200 at
// 100, 100. Thumbnails are drawn in one colour and pictures in another.
TEST(Preview, ScreensShowThePicturesWhereTheSettingsPutThem)
{
    KioskFolder folder;
    folder.writeStandardKiosk();
    const QString output = folder.temp().filePath("preview");
    QString out;
    ASSERT_EQ(0, preview(folder, output, out));
    const QImage start(output + "/start.png");
    ASSERT_EQ(QSize(800, 600), start.size());
    EXPECT_TRUE(near(QColor(0x993366), start.pixelColor(120, 115)))
        << start.pixelColor(120, 115).name().toStdString();
    const QImage detail(output + "/detail.png");
    EXPECT_TRUE(near(QColor(0x336699), detail.pixelColor(250, 200)))
        << detail.pixelColor(250, 200).name().toStdString();
    EXPECT_FALSE(near(QColor(0x336699), start.pixelColor(250, 200)));

    // On a screen of 400 x 400 the 800 x 600 screens are halved, with bars above and below.
    ASSERT_EQ(0, preview(folder, output + "-small", out, {"--size", "400x400"}));
    const QImage small(output + "-small/start.png");
    EXPECT_EQ(QSize(400, 400), small.size());
    EXPECT_EQ(QColor(Qt::black), small.pixelColor(200, 40));
    EXPECT_TRUE(near(QColor(0x993366), small.pixelColor(60, 50 + 57)));
}
