#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace quindle::demo {

struct DemoKioskOptions;

// Where everything sits on the screen and inside the keyboard frame. The backdrop is drawn from
// the same numbers that the settings file gives the kiosk, so panels and buttons line up.
// Screen numbers are designed for 1920 by 1080 and scaled for other screens; the keyboard's
// numbers are fixed, because its key picture must keep its 66-pixel cells.
struct DemoKioskLayout
{
    static DemoKioskLayout forOptions(const DemoKioskOptions& options);

    QSize screen;
    double scale = 1.0;

    QRect logo;        // the shop's name in the top-left corner
    QRect menuHeading; // the small "Collections" heading over the menu
    QList<QRect> menuButtons;
    QRect panel; // the backdrop's panel behind the thumbnails and the detail view
    QRect detailView;
    int gridColumns = 4;
    int gridRows = 3;
    QSize thumbnail;
    QPoint gridTopLeft;
    int gridColumnGap = 0;
    int gridRowGap = 0;
    int captionHeight = 0;
    QRect previousButton;
    QRect closeButton;
    QRect printButton;
    QRect nextButton;
    QRect lookupButton;
    int menuFontPoints = 17;
    int captionFontPoints = 11;
    int lookupFontPoints = 15;

    // Keyboard frame, in pixels from the frame's top-left corner (the kiosk puts the frame at the
    // window's top-left corner).
    QSize keyboardFrame{700, 452};
    QSize keyboardInput{660, 80};
    QPoint keyboardInputTopLeft{20, 0}; // where the kiosk centres the strip
    QPoint keyboardTopLeft{20, 96};
    QSize keyboard{660, 264};
    QPoint searchTextTopLeft{40, 20};
    QList<int> keyboardButtonLefts{20, 180, 340, 524};
    QList<int> keyboardButtonWidths{156, 156, 180, 156};
    int keyboardButtonHeight = 72; // the kiosk sets their tops to frame height minus this
};

} // namespace quindle::demo
