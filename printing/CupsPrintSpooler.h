#pragma once

#include "printing/PrintSpooler.h"

namespace quindle {

// The spooler of a Linux machine: CUPS. Raw files go through libcups as one job in the raw
// format; pictures are drawn with Qt's print support, which talks to the same CUPS server
// (both follow CUPS_SERVER and the client configuration). No dialog is ever shown.
class CupsPrintSpooler final : public PrintSpooler
{
public:
    // The title every job carries in the printer's queue.
    static QString jobTitle();

    PrintOutcome printRawFile(const QString& path) override;
    PrintOutcome printPicture(const QString& picturePath, const QRectF& inches) override;
};

} // namespace quindle
