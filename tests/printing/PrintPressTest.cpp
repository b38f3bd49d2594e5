#include "printing/PrintPress.h"
#include "fakes/FakeServices.h"

#include <gtest/gtest.h>

using namespace quindle;
using quindle::test::FakeMessageBox;

namespace {

// Records the requests and answers each with a chosen outcome.
class RecordingSpooler final : public PrintSpooler
{
public:
    PrintOutcome printRawFile(const QString& path) override
    {
        requests.append(QStringLiteral("raw ") + path);
        return outcome;
    }
    PrintOutcome printPicture(const QString& picturePath, const QRectF& inches) override
    {
        requests.append(QStringLiteral("picture ") + picturePath);
        rectangle = inches;
        return outcome;
    }
    PrintOutcome outcome = PrintOutcome::Printed;
    QStringList requests;
    QRectF rectangle;
};

const QRectF inches(0.5, 1.25, 4, 3);

} // namespace

TEST(PrintProduct, JpgMode_printsThePictureInTheRectangle)
{
    RecordingSpooler spooler;
    FakeMessageBox messages;

    printProduct(PrintingMode::Jpg, QStringLiteral("/k/Rings/ring12.jpg"), QStringLiteral("/k/Rings/old.prn"),
                 inches, spooler, messages);

    EXPECT_EQ(QStringList{QStringLiteral("picture /k/Rings/ring12.jpg")}, spooler.requests);
    EXPECT_EQ(inches, spooler.rectangle);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST(PrintProduct, PrnMode_sendsThePrintFileRaw)
{
    RecordingSpooler spooler;
    FakeMessageBox messages;

    printProduct(PrintingMode::Prn, QStringLiteral("/k/Rings/ring12.jpg"),
                 QStringLiteral("/k/Rings/ring12.prn"), inches, spooler, messages);

    EXPECT_EQ(QStringList{QStringLiteral("raw /k/Rings/ring12.prn")}, spooler.requests);
}

TEST(PrintProduct, Failures_showTheirMessageInBothModes)
{
    struct Case
    {
        PrintOutcome outcome;
        QStringList expected;
    };
    const Case cases[] = {
        {PrintOutcome::NoPrinter, {QStringLiteral("There is not an available printer on this system")}},
        {PrintOutcome::PrinterUnavailable,
         {QStringLiteral("The printer cannot be accessed. Contact Quorvane Media.")}},
        {PrintOutcome::NothingToPrint, {}},
        {PrintOutcome::Printed, {}},
    };
    for (const PrintingMode mode : {PrintingMode::Jpg, PrintingMode::Prn}) {
        for (const Case& c : cases) {
            RecordingSpooler spooler;
            spooler.outcome = c.outcome;
            FakeMessageBox messages;

            const PrintOutcome outcome = printProduct(mode, QStringLiteral("/k/a.jpg"),
                                                      QStringLiteral("/k/a.prn"), inches, spooler, messages);

            EXPECT_EQ(c.outcome, outcome);
            EXPECT_EQ(c.expected, messages.messages) << static_cast<int>(mode) << static_cast<int>(c.outcome);
        }
    }
}

TEST(PrintProduct, PictureRectangleComesFromTheSettings)
{
    KioskSettings settings;
    settings.jpgLeft = 0.75F;
    settings.jpgTop = 1.5F;
    settings.jpgWidth = 4.25F;
    settings.jpgHeight = 3;

    EXPECT_EQ(QRectF(0.75, 1.5, 4.25, 3), pictureRectangle(settings));
}

namespace {

// Builds the window's side of a press that writes every step into one list.
struct PressRecorder
{
    QStringList steps;
    FakeMessageBox messages;
    RecordingSpooler spooler;

    PrintPressSteps pressSteps(PrintingMode mode)
    {
        messages.whileOpen = [this](const QString& text) {
            steps.append(QStringLiteral("message ") + text);
        };
        return PrintPressSteps{
            [this](const QString& face) { steps.append(QStringLiteral("face ") + face); },
            [this] { steps.append(QStringLiteral("yield")); },
            [this](const QString& text) { steps.append(QStringLiteral("log ") + text); },
            [this, mode] {
                steps.append(QStringLiteral("print"));
                printProduct(mode, QStringLiteral("/k/Rings/ring12.jpg"),
                             QStringLiteral("/k/Rings/ring12.prn"), inches, spooler, messages);
            },
        };
    }
};

} // namespace

TEST(PrintPress, ShowsPressedFaceLogsPrintsAndGivesTheFaceBack)
{
    PressRecorder recorder;

    runPrintPress(recorder.pressSteps(PrintingMode::Prn), TrackingMode::Daily, QStringLiteral("ring12.jpg"));

    const QStringList expected{QStringLiteral("face _print.jpg"),       QStringLiteral("yield"),
                               QStringLiteral("log Print: ring12.jpg"), QStringLiteral("print"),
                               QStringLiteral("face print.jpg"),        QStringLiteral("yield")};
    EXPECT_EQ(expected, recorder.steps);
}

TEST(PrintPress, TrackingOff_logsNothing)
{
    PressRecorder recorder;

    runPrintPress(recorder.pressSteps(PrintingMode::Jpg), TrackingMode::None, QStringLiteral("ring12.jpg"));

    const QStringList expected{QStringLiteral("face _print.jpg"), QStringLiteral("yield"),
                               QStringLiteral("print"), QStringLiteral("face print.jpg"),
                               QStringLiteral("yield")};
    EXPECT_EQ(expected, recorder.steps);
}

TEST(PrintPress, AfterAFailureMessage_theFaceComesBack)
{
    PressRecorder recorder;
    recorder.spooler.outcome = PrintOutcome::PrinterUnavailable;

    runPrintPress(recorder.pressSteps(PrintingMode::Prn), TrackingMode::Monthly,
                  QStringLiteral("ring12.jpg"));

    const QStringList expected{
        QStringLiteral("face _print.jpg"),
        QStringLiteral("yield"),
        QStringLiteral("log Print: ring12.jpg"),
        QStringLiteral("print"),
        QStringLiteral("message The printer cannot be accessed. Contact Quorvane Media."),
        QStringLiteral("face print.jpg"),
        QStringLiteral("yield")};
    EXPECT_EQ(expected, recorder.steps);
}
