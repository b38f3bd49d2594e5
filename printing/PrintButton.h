#pragma once

#include "settings/KioskSettings.h"

#include <QString>

namespace quindle {

// Faces of the print button (btnControl 3) in the Interface folder.
inline QString printFace()
{
    return QStringLiteral("print.jpg");
}
inline QString pressedPrintFace()
{
    return QStringLiteral("_print.jpg");
}
inline QString disabledPrintFace()
{
    return QStringLiteral("-print.jpg");
}

// What the print button becomes for the picture in the detail view.
struct PrintButtonUpdate
{
    bool changesButton = false; // with printing off the button is left alone
    bool enabled = false;
    QString face;          // "print.jpg" or "-print.jpg"
    QString printFilePath; // Prn mode: the print file to keep in bigPicture's Tag; empty: keep the Tag
};

// Decides whether the picture shown can be printed. Jpg mode prints every picture; Prn mode
// needs the picture's print file beside it.
PrintButtonUpdate printButtonUpdate(PrintingMode mode, const QString& picturePath);

// The print file of a picture: its path with the last four characters (the ".jpg")
// replaced by ".prn", the file name matched without regard to case, in the picture's own
// folder. Empty when the picture path is too short to have one.
QString printFilePathOf(const QString& picturePath);

// An ordinary file: a regular file (links followed) whose name does not start with a dot.
// Folders, devices and pipes never are: a pipe would stall the print job forever.
bool isOrdinaryFile(const QString& path);

} // namespace quindle
