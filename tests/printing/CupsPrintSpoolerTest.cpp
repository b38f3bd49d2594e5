#include "printing/CupsPrintSpooler.h"
#include "fakes/FakeServices.h"
#include "printing/PrintPress.h"
#include "printing/PrivateCups.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace quindle;
using namespace quindle::test;
using enum quindle::PrintingMode;

namespace {

const QString queue = QStringLiteral("capture");
const QString jobTitle = QStringLiteral("QD Show Print Job");

// Every test gets its own scheduler with a raw default queue on the capture backend. The kiosk's side
// prints through printProduct, which shows the visitor what went wrong.
class CupsPrinting : public testing::Test
{
protected:
    void SetUp() override
    {
        if (cups.isMissingPrograms())
            GTEST_SKIP() << "no CUPS scheduler to print to: " << cups.problem().toStdString();
        ASSERT_TRUE(cups.captureByDefault(queue)) << cups.problem().toStdString();
    }

    PrintOutcome print(PrintingMode mode, const QString& file, const QRectF& inches = {})
    {
        return printProduct(mode, file, file, inches, spooler, messageBox);
    }
    QList<CapturedJob> jobsWhenDone()
    {
        EXPECT_TRUE(cups.waitUntilIdle()) << cups.problem().toStdString();
        return cups.capturedJobs();
    }

    PrivateCups cups;
    CupsPrintSpooler spooler;
    FakeMessageBox messageBox;
    TempFolder kiosk;
};

} // namespace

TEST_F(CupsPrinting, RawFile_arrivesByteForByteAsOneTitledJob)
{
    // Around the chunk size, and a file of several million bytes.
    std::mt19937 generator(7);
    qsizetype jobsSoFar = 0;
    for (const qsizetype size : {1, 8192, 8193, 6'000'011}) {
        QByteArray contents(size, Qt::Uninitialized);
        for (char& byte : contents)
            byte = static_cast<char>(generator() & 0xFF);
        const QString printFile = kiosk.write(QStringLiteral("Rings/ring%1.prn").arg(size), contents);

        EXPECT_EQ(PrintOutcome::Printed, print(Prn, printFile)) << size;

        const QList<CapturedJob> jobs = jobsWhenDone();
        ASSERT_EQ(++jobsSoFar, jobs.size()) << "one job for a file of " << size << " bytes";
        EXPECT_EQ(jobTitle, jobs.back().title);
        EXPECT_TRUE(contents == jobs.back().data) << "bytes differ for a file of " << size << " bytes";
    }
    EXPECT_TRUE(messageBox.messages.isEmpty());
}

TEST_F(CupsPrinting, NothingToPrint_sendsNoJobAndNoMessage)
{
    // The scheduler would refuse a document of no bytes; nothing may be left in the queue.
    EXPECT_EQ(PrintOutcome::NothingToPrint, print(Prn, kiosk.write(QStringLiteral("Rings/ring12.prn"))));
    EXPECT_EQ(PrintOutcome::NothingToPrint, print(Prn, kiosk.filePath(QStringLiteral("Rings/gone.prn"))));
    const QString broken = kiosk.write(QStringLiteral("Rings/broken.jpg"), "not a picture");
    EXPECT_EQ(PrintOutcome::NothingToPrint, print(Jpg, broken, QRectF(1, 1, 2, 2)));
    // Settings without the rectangle's statements give a rectangle of no size.
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"), jpegBytes(40, 20));
    EXPECT_EQ(PrintOutcome::NothingToPrint, print(Jpg, picture, pictureRectangle(KioskSettings())));
    EXPECT_TRUE(messageBox.messages.isEmpty());
    EXPECT_TRUE(jobsWhenDone().isEmpty());
}

TEST_F(CupsPrinting, Picture_landsInTheRectangleInColourDecodedForThePaper)
{
    for (const char* tool : {"pdftoppm", "pdfimages"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed (Debian package poppler-utils)";
    // A red picture twice as wide as high, in a square of 2 inches: 2 by 1 inches, centred.
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"), jpegBytes(4000, 2000, 0xD01818));
    ASSERT_EQ(PrintOutcome::Printed, print(Jpg, picture, QRectF(1.0, 1.5, 2.0, 2.0)));

    const QList<CapturedJob> jobs = jobsWhenDone();
    ASSERT_EQ(1, jobs.size());
    EXPECT_EQ(jobTitle, jobs.front().title);
    ASSERT_TRUE(jobs.front().data.startsWith("%PDF")) << "Qt sends the page as PDF";

    // Rendered at 72 pixels to the inch, one pixel is one point.
    const QString pdf = kiosk.write(QStringLiteral("job.pdf"), jobs.front().data);
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-r", "72", "-png", "-singlefile", pdf, kiosk.filePath("page")});
    const QImage page(kiosk.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    QRect ink; // everything that is not paper white
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (const QColor c = page.pixelColor(x, y); std::min({c.red(), c.green(), c.blue()}) < 230)
                ink |= QRect(x, y, 1, 1);
    const QPointF printable =
        QPrinter(QPrinterInfo::defaultPrinter()).pageLayout().paintRect(QPageLayout::Point).topLeft();
    const QRectF expected(printable.x() + 72 * 1.0, printable.y() + 72 * 2.0, 72 * 2.0, 72 * 1.0);
    EXPECT_NEAR(expected.left(), ink.left(), 2);
    EXPECT_NEAR(expected.top(), ink.top(), 2);
    EXPECT_NEAR(expected.right(), ink.right() + 1, 2);
    EXPECT_NEAR(expected.bottom(), ink.bottom() + 1, 2);
    const QColor centre = page.pixelColor(ink.center());
    EXPECT_TRUE(centre.red() > 170 && centre.green() < 70 && centre.blue() < 70)
        << centre.name().toStdString();

    // Decoded smaller than it is, yet fine enough for paper: at least 300 pixels to the inch, where the
    // screen would give about 100.
    QProcess pdfimages;
    pdfimages.start(QStringLiteral("pdfimages"), {"-list", pdf});
    pdfimages.waitForFinished();
    const QList<QByteArray> images =
        pdfimages.readAllStandardOutput().split('\n').value(2).simplified().split(' ');
    ASSERT_GT(images.size(), 3) << "no picture in the document";
    EXPECT_GE(images.at(3).toInt(), 600);
    EXPECT_LT(images.at(3).toInt(), 4000);
}

TEST_F(CupsPrinting, PrinterMissingOrRefusing_bothModesTellTheVisitorAndGoOn)
{
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"), jpegBytes(40, 20));
    const QString printFile = kiosk.write(QStringLiteral("Rings/ring12.prn"), "sheet");
    ASSERT_TRUE(cups.rejectJobs(queue)) << cups.problem().toStdString();
    EXPECT_EQ(PrintOutcome::PrinterUnavailable, print(Prn, printFile));
    EXPECT_EQ(PrintOutcome::PrinterUnavailable, print(Jpg, picture, QRectF(1, 1, 2, 2)));
    ASSERT_TRUE(cups.removeQueue(queue)) << cups.problem().toStdString();
    EXPECT_EQ(PrintOutcome::NoPrinter, print(Prn, printFile));
    EXPECT_EQ(PrintOutcome::NoPrinter, print(Jpg, picture, QRectF(1, 1, 2, 2)));

    const QString unavailable = QStringLiteral("The printer cannot be accessed. Contact Quorvane Media.");
    const QString noPrinter = QStringLiteral("There is not an available printer on this system");
    EXPECT_EQ((QStringList{unavailable, unavailable, noPrinter, noPrinter}), messageBox.messages);
    EXPECT_TRUE(jobsWhenDone().isEmpty());
}
