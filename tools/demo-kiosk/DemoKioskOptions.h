#pragma once

#include <QSize>
#include <QString>

namespace quindle::demo {

// How the generated settings switch printing: the kiosk's three printing words.
enum class PrintingChoice { Off, Jpg, Prn };

// Everything the demo kiosk folder generator can be asked for. The defaults make the demo that
// the README opens: a 1920 by 1080 screen with five categories of jewellery.
struct DemoKioskOptions
{
    QString outputFolder; // the program folder that is written
    QString kioskName = QStringLiteral("Showroom");
    QSize screenSize{1920, 1080}; // the backdrop's size, so the window's
    int categoryCount = 5;        // 1 to 9 menu buttons
    int minPicturesPerCategory = 15;
    int maxPicturesPerCategory = 40;
    QSize pictureSize{1200, 900};
    QSize thumbnailSize{480, 360};
    int noThumbnailEvery = 7; // every Nth picture has no "_" thumbnail; 0: all have one
    int prnEvery = 3;         // every Nth picture has a ".prn" file; 0: none has one
    int slideCount = 4;
    quint64 seed = 1;
    PrintingChoice printing = PrintingChoice::Prn;
    bool settingsOnly = false; // write the two settings files and nothing else
    int threads = 2;
};

} // namespace quindle::demo
