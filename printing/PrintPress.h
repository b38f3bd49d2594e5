#pragma once

#include "printing/PrintSpooler.h"
#include "settings/KioskSettings.h"

#include <QRectF>
#include <QString>
#include <functional>

namespace quindle {

class MessageBox;

// The messages a visitor sees when printing fails, in both modes.
QString noPrinterMessage();          // no default printer among the installed ones
QString printerUnavailableMessage(); // the default printer cannot be opened or refuses the job

// The Jpg print rectangle of the settings, in inches from the printable area's corner.
QRectF pictureRectangle(const KioskSettings& settings);

// Prints the product shown: in Jpg mode the picture itself inside the rectangle, in Prn
// mode its print file as a raw job. A failure is shown to the visitor in a message box;
// the kiosk goes on either way.
PrintOutcome printProduct(PrintingMode mode, const QString& picturePath, const QString& printFilePath,
                          const QRectF& inches, PrintSpooler& spooler, MessageBox& messages);

// The window's side of a print press.
struct PrintPressSteps
{
    std::function<void(const QString& face)> showFace; // a face from the Interface folder on the button
    std::function<void()> yieldToScreen;
    std::function<void(const QString& eventText)> logEvent;
    std::function<void()> print; // printProduct with the window's state
};

// The tracking line of a print press.
QString printEventText(const QString& pictureFileName);

// The print press after the common start of every control press: the pressed face, drawn
// before anything else happens; the "Print: " line when tracking is on; the job; the
// button's face given back, also after a failure message.
void runPrintPress(const PrintPressSteps& steps, TrackingMode tracking, const QString& pictureFileName);

} // namespace quindle
