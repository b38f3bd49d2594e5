#pragma once

#include "controls/KioskControls.h"
#include "platform/Services.h"
#include "screens/KioskState.h"
#include "settings/KioskSettings.h"

namespace quindle {

class Catalogue;
class PictureDecoder;
class TrackingLog;

// What every part of the kiosk window works on: the settings, the controls, the shared
// browsing state, the catalogue, the tracking log, the platform services and the decoder
// of the pictures.
struct KioskContext
{
    const KioskSettings& settings;
    KioskControls& controls;
    KioskState& state;
    Catalogue& catalogue;
    TrackingLog& log;
    Services services;
    PictureDecoder& pictures;
};

} // namespace quindle
