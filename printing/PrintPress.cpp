#include "printing/PrintPress.h"

#include "platform/MessageBox.h"
#include "printing/PrintButton.h"
#include "tracking/TrackingEvents.h"

namespace quindle {

QString noPrinterMessage()
{
    return QStringLiteral("There is not an available printer on this system");
}

QString printerUnavailableMessage()
{
    return QStringLiteral("The printer cannot be accessed. Contact Quorvane Media.");
}

QRectF pictureRectangle(const KioskSettings& settings)
{
    return QRectF(settings.jpgLeft, settings.jpgTop, settings.jpgWidth, settings.jpgHeight);
}

PrintOutcome printProduct(PrintingMode mode, const QString& picturePath, const QString& printFilePath,
                          const QRectF& inches, PrintSpooler& spooler, MessageBox& messages)
{
    if (mode == PrintingMode::None)
        return PrintOutcome::NothingToPrint;
    const PrintOutcome outcome = mode == PrintingMode::Jpg ? spooler.printPicture(picturePath, inches)
                                                           : spooler.printRawFile(printFilePath);
    if (outcome == PrintOutcome::NoPrinter)
        messages.show(noPrinterMessage());
    if (outcome == PrintOutcome::PrinterUnavailable)
        messages.show(printerUnavailableMessage());
    return outcome;
}

QString printEventText(const QString& pictureFileName)
{
    return trackingText(TrackingEvent::Print, pictureFileName);
}

void runPrintPress(const PrintPressSteps& steps, TrackingMode tracking, const QString& pictureFileName)
{
    steps.showFace(pressedPrintFace());
    steps.yieldToScreen();
    if (tracking != TrackingMode::None)
        steps.logEvent(printEventText(pictureFileName));
    steps.print();
    steps.showFace(printFace());
    steps.yieldToScreen();
}

} // namespace quindle
