#pragma once

#include "controls/LabelControl.h"
#include "controls/PictureControl.h"
#include "controls/SearchBox.h"

#include <QString>
#include <array>
#include <vector>

class QWidget;

namespace quindle {

// Every control of the kiosk window. Arrays keep the kiosk's numbering: element 0 of
// btnMenu, btnThumbnail, lblFileName and btnControl is the template slot and holds no
// control; a control button without a statement stays null.
struct KioskControls
{
    QWidget* window = nullptr;
    PictureControl* backdrop = nullptr;
    std::vector<LabelControl*> btnMenu{nullptr};
    std::vector<PictureControl*> btnThumbnail{nullptr};
    std::vector<LabelControl*> lblFileName{nullptr};
    std::array<LabelControl*, 6> btnControl{};
    PictureControl* bigPicture = nullptr;
    // The keyboard's controls lie inside keyboardFrame: their positions count from its
    // top-left corner, and hiding or raising the frame does the same to all of them.
    PictureControl* keyboardFrame = nullptr;
    PictureControl* keyboardTop = nullptr;
    PictureControl* keyboard = nullptr;
    PictureControl* kbdDown = nullptr;
    std::array<PictureControl*, 4> btnKeyboard{};
    SearchBox* txtSearch = nullptr;
    PictureControl* attractPic = nullptr;

    // Creates the controls that exist from the start on the window: the backdrop, the
    // detail picture, the keyboard and the attract picture, all hidden but the backdrop.
    static KioskControls create(QWidget* window, PictureDecoder& decoder);
};

// Gives a control a face from the Interface folder. The control's Tag remembers the face
// it shows, so that asking again for the same face costs nothing.
void setPicture(PictureControl& control, const QString& interfaceFolder, const QString& fileName);

// The full path of a picture of the Interface folder, its name matched without regard to case.
QString interfacePicture(const QString& interfaceFolder, const QString& fileName);

} // namespace quindle
