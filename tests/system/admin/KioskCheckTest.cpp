#include "support/KioskFolder.h"
#include "system/admin/AdminRun.h"

#include <filesystem>
#include <gtest/gtest.h>

using quindle::test::KioskFolder;

// Each case changes the standard kiosk, with one attract slide, and gives how every line of the
// output begins. An empty print file matters only when print files are sent; several faults are
// listed in the order the kiosk meets them.
TEST(KioskCheck, FaultsListedWithTheirFilesLinesAndSummary)
{
    const QString undecodable =
        ": warning: The picture cannot be decoded: the kiosk shows nothing in its place";
    const struct
    {
        std::vector<std::pair<int, const char*>> statements = {}; // standard settings lines replaced, from 1
        QStringList removed = {};                                 // files and folders of the program folder
        std::vector<std::pair<QString, QByteArray>> written = {};
        QStringList lines; // how the lines printed begin, the summary last
        int status = 0;
    } cases[] = {
        {.statements = {{18, "printing = JPG"}},
         .written = {{"Kiosk/Rings/Item 01.prn", ""}},
         .lines = {"0 errors, 0 warnings, 0 notes: the kiosk would start and run."}},
        {.statements = {{18, "printing = PRN"}},
         .written = {{"Kiosk/Rings/Item 01.prn", ""}, {"Kiosk/Rings/Item 02.prn", "raw"}},
         .lines = {"Kiosk/Rings/Item 01.prn: warning: The print file is empty: the kiosk sends no job to the "
                   "printer for this product",
                   "0 errors, 1 warning, 0 notes"}},
        {.written = {{"Kiosk/Interface/backdrop.jpg", ""}, {"Kiosk/Attract/slide1.jpg", "text"}},
         .lines = {"Kiosk/Interface/backdrop.jpg" + undecodable, "Kiosk/Attract/slide1.jpg" + undecodable,
                   "0 errors, 2 warnings, 0 notes"}},
        {.removed = {"Kiosk/Watches", "Kiosk/Attract/slide1.jpg"},
         .written = {{"Kiosk/Watches/prices.txt", "12.00"}},
         .lines = {"Kiosk/quindle.ini:4: warning: Warning - you have no images inside your \"category\" "
                   "folder of \"Watches\"",
                   "Kiosk/quindle.ini:17: warning: The Attract folder holds no \".jpg\" picture",
                   "0 errors, 2 warnings, 0 notes"}},
        {.statements = {{5, "grid = 4, 3"}, {15, "timeout = ninety"}, {17, "attract = maybe"}},
         .removed = {"Kiosk/Interface/btn1.jpg", "Kiosk/Interface/_next.jpg", "Kiosk/Watches"},
         .lines = {"Kiosk/quindle.ini:5: error: ",
                   "Kiosk/quindle.ini:15: error: You have a value that cannot be "
                   "read as a whole number: \"timeout = ninety\"",
                   "Kiosk/quindle.ini:17: error: ",
                   "Kiosk/quindle.ini:3: error: Cannot locate JPG image btn1.jpg",
                   "Kiosk/quindle.ini:10: warning: Missing Interface picture \"_next.jpg\" (pressed next)",
                   "Kiosk/quindle.ini:4: error: ", "5 errors, 1 warning, 0 notes: the kiosk would not start"},
         .status = 1},
        {.removed = {"quindleFolder.ini"},
         .lines =
             {"quindleFolder.ini: error: Missing the \"quindleFolder.ini\" file - program will terminate",
              "1 error, 0 warnings, 0 notes"},
         .status = 1},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.lines.front().toStdString());
        KioskFolder kiosk;
        kiosk.writeStandardKiosk();
        kiosk.temp().write(QStringLiteral("Kiosk/Attract/slide1.jpg"), quindle::test::jpegBytes(64, 48));
        QStringList settings = KioskFolder::standardSettings();
        for (const auto& [line, statement] : row.statements)
            settings[line - 1] = QString::fromUtf8(statement);
        kiosk.writeSettings(settings);
        for (const QString& path : row.removed)
            std::filesystem::remove_all(kiosk.temp().filePath(path).toStdString());
        for (const auto& [path, bytes] : row.written)
            kiosk.temp().write(path, bytes);

        QString out;
        EXPECT_EQ(row.status,
                  quindle::test::runAdmin({"check", "--program-folder", kiosk.programFolder()}, out));
        const QStringList printed = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(row.lines.size(), printed.size()) << out.toStdString();
        for (qsizetype i = 0; i < printed.size(); ++i)
            EXPECT_EQ(row.lines[i], printed[i].left(row.lines[i].size()));
    }
}
