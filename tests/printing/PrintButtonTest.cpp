#include "printing/PrintButton.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quindle;
using quindle::test::TempFolder;

TEST(PrintButton, JpgMode_everyPictureCanBePrinted)
{
    const TempFolder kiosk;
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"), test::jpegBytes(8, 8));

    const PrintButtonUpdate update = printButtonUpdate(PrintingMode::Jpg, picture);

    EXPECT_TRUE(update.changesButton);
    EXPECT_TRUE(update.enabled);
    EXPECT_EQ(QStringLiteral("print.jpg"), update.face);
    EXPECT_EQ(QString(), update.printFilePath);
}

TEST(PrintButton, PrintingOff_leavesTheButtonAlone)
{
    const TempFolder kiosk;
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"));
    kiosk.write(QStringLiteral("Rings/ring12.prn"), "x");

    EXPECT_FALSE(printButtonUpdate(PrintingMode::None, picture).changesButton);
}

TEST(PrintButton, PrnMode_printableOnlyWithThePrintFileBesideThePicture)
{
    const TempFolder kiosk;
    const QString withFile = kiosk.write(QStringLiteral("Rings/ring12.jpg"));
    const QString printFile = kiosk.write(QStringLiteral("Rings/ring12.prn"), "sheet");
    const QString withoutFile = kiosk.write(QStringLiteral("Rings/ring13.jpg"));

    const PrintButtonUpdate printable = printButtonUpdate(PrintingMode::Prn, withFile);
    EXPECT_TRUE(printable.enabled);
    EXPECT_EQ(QStringLiteral("print.jpg"), printable.face);
    EXPECT_EQ(printFile, printable.printFilePath);

    const PrintButtonUpdate notPrintable = printButtonUpdate(PrintingMode::Prn, withoutFile);
    EXPECT_TRUE(notPrintable.changesButton);
    EXPECT_FALSE(notPrintable.enabled);
    EXPECT_EQ(QStringLiteral("-print.jpg"), notPrintable.face);
    EXPECT_EQ(QString(), notPrintable.printFilePath); // the Tag keeps what it held
}

TEST(PrintButton, PrnMode_printFileNameMatchedWithoutRegardToCase)
{
    const TempFolder kiosk;
    const QString picture = kiosk.write(QStringLiteral("Rings/Ring12.JPG"));
    const QString printFile = kiosk.write(QStringLiteral("Rings/RING12.Prn"), "sheet");

    EXPECT_EQ(printFile, printButtonUpdate(PrintingMode::Prn, picture).printFilePath);
}

TEST(PrintButton, PrnMode_lastFourCharactersReplaced)
{
    const TempFolder kiosk;
    kiosk.write(QStringLiteral("Rings/ring12.prn"), "sheet");
    // The rule counts characters, not extensions: "ring12.jpeg" keeps its dot.
    const QString longExtension = kiosk.write(QStringLiteral("Rings/ring12.jpeg"));
    const QString printFile = kiosk.write(QStringLiteral("Rings/ring12..prn"), "sheet");

    EXPECT_EQ(printFile, printFilePathOf(longExtension));
    EXPECT_EQ(QString(), printFilePathOf(QStringLiteral("/a/b/.jp")));
}

TEST(PrintButton, PrnMode_onlyAnOrdinaryFileCounts)
{
    const TempFolder kiosk;
    const QString besideFolder = kiosk.write(QStringLiteral("Rings/ring12.jpg"));
    kiosk.makeFolder(QStringLiteral("Rings/ring12.prn"));
    const QString hidden = kiosk.write(QStringLiteral("Rings/.ring13.jpg"));
    kiosk.write(QStringLiteral("Rings/.ring13.prn"), "sheet");
    const QString besidePipe = kiosk.write(QStringLiteral("Rings/ring14.jpg"));
    ASSERT_EQ(0, ::mkfifo(kiosk.filePath(QStringLiteral("Rings/ring14.prn")).toUtf8().constData(), 0600));
    const QString besideEmpty = kiosk.write(QStringLiteral("Rings/ring15.jpg"));
    kiosk.write(QStringLiteral("Rings/ring15.prn"));

    EXPECT_FALSE(printButtonUpdate(PrintingMode::Prn, besideFolder).enabled);
    EXPECT_FALSE(printButtonUpdate(PrintingMode::Prn, hidden).enabled);
    EXPECT_FALSE(printButtonUpdate(PrintingMode::Prn, besidePipe).enabled);
    EXPECT_TRUE(printButtonUpdate(PrintingMode::Prn, besideEmpty).enabled);
}

TEST(PrintButton, PrnMode_searchHitLooksInItsOwnFolder)
{
    const TempFolder kiosk;
    // The category on screen has a print file of the same name; the hit's own folder has its own.
    kiosk.write(QStringLiteral("Rings/clasp.prn"), "rings");
    const QString hit = kiosk.write(QStringLiteral("Chains/clasp.jpg"));
    const QString hitPrintFile = kiosk.write(QStringLiteral("Chains/clasp.prn"), "chains");
    const QString hitWithout = kiosk.write(QStringLiteral("Chains/link.jpg"));
    kiosk.write(QStringLiteral("Rings/link.prn"), "rings");

    EXPECT_EQ(hitPrintFile, printButtonUpdate(PrintingMode::Prn, hit).printFilePath);
    EXPECT_FALSE(printButtonUpdate(PrintingMode::Prn, hitWithout).enabled);
}
