#pragma once

#include <QRectF>
#include <QString>

namespace quindle {

// How a print request ended.
enum class PrintOutcome {
    Printed,            // the whole job was handed to the spooler
    NoPrinter,          // no default printer among the installed ones
    PrinterUnavailable, // the default printer cannot be opened or refuses the job
    NothingToPrint,     // an empty or unreadable file, a picture that cannot be read: nothing was sent
};

// The system's print spooler as the print button uses it. Every call returns once the job
// has been handed over; it never waits for the paper.
class PrintSpooler
{
public:
    virtual ~PrintSpooler() = default;

    // Sends a printer-ready file byte for byte to the default printer, as one raw job.
    virtual PrintOutcome printRawFile(const QString& path) = 0;

    // Prints a picture on the default printer inside a rectangle given in inches from the
    // top-left corner of the printable area, its proportions kept.
    virtual PrintOutcome printPicture(const QString& picturePath, const QRectF& inches) = 0;
};

} // namespace quindle
