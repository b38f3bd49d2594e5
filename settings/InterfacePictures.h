#pragma once

#include "settings/KioskSettings.h"

#include <QString>
#include <vector>

namespace quindle {

enum class PictureNeed {
    Required, // start-up ends with its message when the picture is missing
    Expected, // loaded later: when it is missing the kiosk runs on and shows nothing in its place
};

// A picture of the Interface folder that the configuration calls for.
struct InterfacePicture
{
    QString fileName;
    PictureNeed need = PictureNeed::Required;
    QString role;        // what it is for, in the owner's words: "pressed next"
    QString settingsKey; // the statement that calls for it; empty when none does
};

// Every Interface picture the settings call for (the backdrop, which its own statement names,
// aside). The required ones come in the order start-up checks them: btn1.jpg to btnN.jpg, then
// prev.jpg, close.jpg, next.jpg, -close.jpg, then print.jpg and -print.jpg when printing is on,
// then lookup.jpg when the lookup button is on.
std::vector<InterfacePicture> interfacePicturesFor(const KioskSettings& settings);

} // namespace quindle
