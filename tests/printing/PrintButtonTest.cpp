#include "printing/PrintButton.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

using namespace quindle;
using quindle::test::TempFolder;
using enum quindle::PrintingMode;

namespace {

// The printing mode, the picture, empty files beside it (separated by " "; "pipe:" makes one a pipe), and
// what becomes of the print button.
const std::tuple<PrintingMode, const char*, const char*, const char*> faces[] = {
    {Jpg, "Rings/ring12.jpg", "", "print.jpg enabled"},
    {None, "Rings/ring12.jpg", "Rings/ring12.prn", "unchanged"},
    // Prn mode needs the print file beside the picture, its name matched without regard to case.
    {Prn, "Rings/Ring12.JPG", "Rings/RING12.Prn", "print.jpg enabled Rings/RING12.Prn"},
    // The last four characters are replaced, whatever the extension: "ring12.jpeg" keeps its dot.
    {Prn, "Rings/ring12.jpeg", "Rings/ring12.prn Rings/ring12..prn", "print.jpg enabled Rings/ring12..prn"},
    {Prn, "Rings/.jp", "Rings/.prn", "-print.jpg disabled"},
    // Only an ordinary file counts, be it empty: a pipe would stall the print job forever. Nor do hidden
    // ones.
    {Prn, "Rings/ring12.jpg", "pipe:Rings/ring12.prn", "-print.jpg disabled"},
    {Prn, "Rings/.ring12.jpg", "Rings/.ring12.prn", "-print.jpg disabled"},
    // A search hit looks in its own folder, not in the category on screen.
    {Prn, "Chains/clasp.jpg", "Rings/clasp.prn Chains/clasp.prn", "print.jpg enabled Chains/clasp.prn"},
};

} // namespace

TEST(PrintButton, FaceFollowsThePrintingModeAndThePrintFile)
{
    for (const auto& [mode, pictureName, files, expected] : faces) {
        SCOPED_TRACE(files);
        const TempFolder kiosk;
        const QString picture = kiosk.write(QString::fromUtf8(pictureName));
        for (const QString& file : QString::fromUtf8(files).split(' ', Qt::SkipEmptyParts)) {
            if (file.startsWith("pipe:"))
                ASSERT_EQ(0, ::mkfifo(kiosk.filePath(file.mid(5)).toUtf8().constData(), 0600));
            else
                kiosk.write(file);
        }
        const PrintButtonUpdate update = printButtonUpdate(mode, picture);
        const QString printFile = QString(update.printFilePath).remove(kiosk.path() + '/');
        const QString found =
            QStringList{update.face, update.enabled ? "enabled" : "disabled", printFile}.join(' ');
        EXPECT_EQ(QString::fromUtf8(expected), update.changesButton ? found.trimmed() : "unchanged");
    }
}
