#include "printing/CupsPrintSpooler.h"
#include "fakes/FakeServices.h"
#include "printing/PrintButton.h"
#include "printing/PrintPress.h"
#include "printing/PrivateCups.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <random>

using namespace quindle;
using quindle::test::CapturedJob;
using quindle::test::FakeMessageBox;
using quindle::test::PrivateCups;
using quindle::test::TempFolder;

namespace {

const QString queue = QStringLiteral("capture");
const QString jobTitle = QStringLiteral("QD Show Print Job");

QByteArray patternBytes(qsizetype size)
{
    std::mt19937 generator(static_cast<unsigned>(size));
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string text(const QString& value)
{
    return value.toStdString();
}

// Every test gets its own scheduler with a raw default queue on the capture backend.
class CupsPrinting : public testing::Test
{
protected:
    void SetUp() override
    {
        if (cups.isMissingPrograms())
            GTEST_SKIP() << "no CUPS scheduler to print to: " << text(cups.problem());
        ASSERT_TRUE(cups.isRunning()) << text(cups.problem());
        ASSERT_TRUE(cups.addCaptureQueue(queue)) << text(cups.problem());
        ASSERT_TRUE(cups.makeDefault(queue)) << text(cups.problem());
    }

    QList<CapturedJob> jobsWhenDone()
    {
        EXPECT_TRUE(cups.waitUntilIdle()) << text(cups.problem());
        return cups.capturedJobs();
    }

    PrivateCups cups;
    CupsPrintSpooler spooler;
    TempFolder kiosk;
};

} // namespace

TEST_F(CupsPrinting, RawFile_arrivesByteForByteAsOneTitledJob)
{
    // Around the chunk size, and a file of several million bytes.
    const qsizetype sizes[] = {1, 8192, 8193, 6'000'011};
    qsizetype jobsSoFar = 0;
    for (const qsizetype size : sizes) {
        const QByteArray contents = patternBytes(size);
        const QString printFile = kiosk.write(QStringLiteral("Rings/ring%1.prn").arg(size), contents);

        EXPECT_EQ(PrintOutcome::Printed, spooler.printRawFile(printFile)) << size;

        const QList<CapturedJob> jobs = jobsWhenDone();
        ASSERT_EQ(++jobsSoFar, jobs.size()) << "one job for a file of " << size << " bytes";
        EXPECT_EQ(jobTitle, jobs.back().title);
        EXPECT_EQ(contents.size(), jobs.back().data.size());
        EXPECT_TRUE(contents == jobs.back().data) << "bytes differ for a file of " << size << " bytes";
    }
}

TEST_F(CupsPrinting, RawFile_searchHitPrintsThePrintFileOfItsOwnFolder)
{
    kiosk.write(QStringLiteral("Rings/clasp.prn"), "sheet of the ring clasp");
    const QString hit = kiosk.write(QStringLiteral("Chains/clasp.jpg"), test::jpegBytes(8, 8));
    kiosk.write(QStringLiteral("Chains/Clasp.PRN"), "sheet of the chain clasp");
    FakeMessageBox messages;

    const PrintButtonUpdate button = printButtonUpdate(PrintingMode::Prn, hit);
    ASSERT_TRUE(button.enabled);
    printProduct(PrintingMode::Prn, hit, button.printFilePath, {}, spooler, messages);

    const QList<CapturedJob> jobs = jobsWhenDone();
    ASSERT_EQ(1, jobs.size());
    EXPECT_EQ(QByteArray("sheet of the chain clasp"), jobs.front().data);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(CupsPrinting, RawFile_emptyOrVanishedSendsNoJobAndNoMessage)
{
    // The scheduler would refuse a document of no bytes; nothing may be left in the queue.
    const QString empty = kiosk.write(QStringLiteral("Rings/ring12.prn"));
    const QString gone = kiosk.filePath(QStringLiteral("Rings/gone.prn"));
    FakeMessageBox messages;

    EXPECT_EQ(PrintOutcome::NothingToPrint,
              printProduct(PrintingMode::Prn, {}, empty, {}, spooler, messages));
    EXPECT_EQ(PrintOutcome::NothingToPrint, printProduct(PrintingMode::Prn, {}, gone, {}, spooler, messages));

    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(jobsWhenDone().isEmpty());
}

namespace {

// Renders the first page of a PDF at 72 pixels to the inch, so that one pixel is one point.
QImage renderAtPoints(const QByteArray& pdf, const TempFolder& folder)
{
    const QString input = folder.write(QStringLiteral("job.pdf"), pdf);
    const QString output = folder.filePath(QStringLiteral("page"));
    QProcess renderer;
    renderer.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                    QStringLiteral("-singlefile"), input, output});
    if (!renderer.waitForFinished(60'000) || renderer.exitCode() != 0)
        return {};
    return QImage(output + QStringLiteral(".png"));
}

// The bounding box of everything that is not paper white.
QRect inkBox(const QImage& page)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor colour = page.pixelColor(x, y);
            if (colour.red() < 230 || colour.green() < 230 || colour.blue() < 230)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

TEST_F(CupsPrinting, Picture_landsInTheRectangleInColourWithItsProportions)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed (Debian package poppler-utils)";
    // A red picture twice as wide as high, in a square of 3 inches: 3 by 1.5 inches, centred.
    const QString picture =
        kiosk.write(QStringLiteral("Rings/ring12.jpg"), test::jpegBytes(1200, 600, 0xD01818));
    const QRectF inches(1.0, 1.5, 3.0, 3.0);

    ASSERT_EQ(PrintOutcome::Printed, spooler.printPicture(picture, inches));

    const QList<CapturedJob> jobs = jobsWhenDone();
    ASSERT_EQ(1, jobs.size());
    EXPECT_EQ(jobTitle, jobs.front().title);
    ASSERT_TRUE(jobs.front().data.startsWith("%PDF")) << "Qt sends the page as PDF";

    const QImage page = renderAtPoints(jobs.front().data, kiosk);
    ASSERT_FALSE(page.isNull());
    const QPrinter printer(QPrinterInfo::defaultPrinter());
    const QPointF printable = printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
    const QRectF expected(printable.x() + 72 * 1.0, printable.y() + 72 * 2.25, 72 * 3.0, 72 * 1.5);
    const QRect ink = inkBox(page);
    constexpr double tolerance = 2;
    EXPECT_NEAR(expected.left(), ink.left(), tolerance);
    EXPECT_NEAR(expected.top(), ink.top(), tolerance);
    EXPECT_NEAR(expected.right(), ink.right() + 1, tolerance);
    EXPECT_NEAR(expected.bottom(), ink.bottom() + 1, tolerance);

    const QColor centre = page.pixelColor(ink.center());
    EXPECT_GT(centre.red(), 170);
    EXPECT_LT(centre.green(), 70);
    EXPECT_LT(centre.blue(), 70);
}

namespace {

// The pixel width of the first picture embedded in a PDF, as pdfimages lists it.
int embeddedPictureWidth(const QByteArray& pdf, const TempFolder& folder)
{
    const QString input = folder.write(QStringLiteral("job.pdf"), pdf);
    QProcess lister;
    lister.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), input});
    if (!lister.waitForFinished(60'000) || lister.exitCode() != 0)
        return 0;
    for (const QByteArray& line : lister.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.at(2) == "image")
            return fields.at(3).toInt();
    }
    return 0;
}

} // namespace

TEST_F(CupsPrinting, Picture_decodedForThePaperNotForTheScreenNorBeyond)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        GTEST_SKIP() << "pdfimages is not installed (Debian package poppler-utils)";
    // A large picture printed one inch wide: decoded smaller than it is, yet fine enough for
    // paper (at least 300 pixels to the inch, where the screen would give about 100).
    const QString picture =
        kiosk.write(QStringLiteral("Rings/ring12.jpg"), test::jpegBytes(4000, 2000, 0x2040C0));

    ASSERT_EQ(PrintOutcome::Printed, spooler.printPicture(picture, QRectF(0.5, 0.5, 1, 1)));

    const QList<CapturedJob> jobs = jobsWhenDone();
    ASSERT_EQ(1, jobs.size());
    const int width = embeddedPictureWidth(jobs.front().data, kiosk);
    EXPECT_GE(width, 300);
    EXPECT_LT(width, 4000);
}

TEST_F(CupsPrinting, Picture_unreadableOrWithoutRectangleSendsNoJob)
{
    const QString broken = kiosk.write(QStringLiteral("Rings/broken.jpg"), "not a picture");
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"), test::jpegBytes(40, 20));

    EXPECT_EQ(PrintOutcome::NothingToPrint, spooler.printPicture(broken, QRectF(1, 1, 2, 2)));
    // Settings without the rectangle's statements give a rectangle of no size.
    EXPECT_EQ(PrintOutcome::NothingToPrint, spooler.printPicture(picture, pictureRectangle(KioskSettings())));
    EXPECT_TRUE(jobsWhenDone().isEmpty());
}

namespace {

// A whole print press against the real spooler, with the faces the button was given.
struct PressResult
{
    QStringList faces;
    QStringList messages;
};

PressResult pressPrint(PrintingMode mode, const QString& picture, const QString& printFile,
                       PrintSpooler& spooler)
{
    PressResult result;
    FakeMessageBox messages;
    const PrintPressSteps steps{
        [&](const QString& face) { result.faces.append(face); },
        [] {},
        [](const QString&) {},
        [&] { printProduct(mode, picture, printFile, QRectF(1, 1, 2, 2), spooler, messages); },
    };
    runPrintPress(steps, TrackingMode::Daily, QStringLiteral("ring12.jpg"));
    result.messages = messages.messages;
    return result;
}

} // namespace

TEST_F(CupsPrinting, NoPrinterInstalled_bothModesSayNoPrinterAndGoOn)
{
    ASSERT_TRUE(cups.removeQueue(queue)) << text(cups.problem());
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"), test::jpegBytes(40, 20));
    const QString printFile = kiosk.write(QStringLiteral("Rings/ring12.prn"), "sheet");
    const QStringList pressedAndBack{QStringLiteral("_print.jpg"), QStringLiteral("print.jpg")};
    const QStringList noPrinter{QStringLiteral("There is not an available printer on this system")};

    for (const PrintingMode mode : {PrintingMode::Prn, PrintingMode::Jpg}) {
        const PressResult press = pressPrint(mode, picture, printFile, spooler);
        EXPECT_EQ(noPrinter, press.messages) << static_cast<int>(mode);
        EXPECT_EQ(pressedAndBack, press.faces);
    }
    EXPECT_TRUE(jobsWhenDone().isEmpty());
}

TEST_F(CupsPrinting, DefaultPrinterRejectsJobs_bothModesSayItCannotBeAccessedAndGoOn)
{
    ASSERT_TRUE(cups.rejectJobs(queue)) << text(cups.problem());
    const QString picture = kiosk.write(QStringLiteral("Rings/ring12.jpg"), test::jpegBytes(40, 20));
    const QString printFile = kiosk.write(QStringLiteral("Rings/ring12.prn"), "sheet");
    const QStringList pressedAndBack{QStringLiteral("_print.jpg"), QStringLiteral("print.jpg")};
    const QStringList cannotBeAccessed{
        QStringLiteral("The printer cannot be accessed. Contact Quorvane Media.")};

    for (const PrintingMode mode : {PrintingMode::Prn, PrintingMode::Jpg}) {
        const PressResult press = pressPrint(mode, picture, printFile, spooler);
        EXPECT_EQ(cannotBeAccessed, press.messages) << static_cast<int>(mode);
        EXPECT_EQ(pressedAndBack, press.faces);
    }
    EXPECT_TRUE(jobsWhenDone().isEmpty());
}
