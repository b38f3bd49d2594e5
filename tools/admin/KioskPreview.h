#pragma once

#include "tools/admin/AdminCommands.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace quindle::admin {

struct PreviewOptions
{
    QString programFolder;
    QString outputFolder;
    QSize screenSize; // invalid: the backdrop's own size
};

// Draws every screen a visitor can reach with the kiosk's own window, started from the
// settings without tracking, sound, printer, watchdog or restart, and writes them with a
// layout picture and an index page to the output folder; the layout problems go to out in
// the check command's format. Needs a QApplication. Returns 0 when everything was drawn,
// 1 when the kiosk would not start (the kiosk's message on err) or a file cannot be written.
int runPreview(const PreviewOptions& options, CommandStreams streams);

// The picture as a screen of another size shows the kiosk: scaled by one factor to fit,
// centred, with black bars.
QImage fitToScreen(const QImage& picture, QSize screen);

} // namespace quindle::admin
