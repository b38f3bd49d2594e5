#pragma once

#include "controls/KioskControls.h"
#include "platform/Services.h"
#include "screens/Navigation.h"
#include "settings/KioskSettings.h"

namespace quindle {

class Catalogue;
class PictureDecoder;
class TrackingLog;

// What every part of the kiosk window works on: the settings, the controls, the navigation
// model, the catalogue, the tracking log, the platform services and the decoder of the
// pictures.
struct KioskContext
{
    const KioskSettings& settings;
    KioskControls& controls;
    Navigation& navigation;
    Catalogue& catalogue;
    TrackingLog& log;
    Services services;
    PictureDecoder& pictures;

    // The first steps of every visitor press: the click, and the idle countdown starts again.
    void playClick() const;
    void resetIdle() const { navigation.setIdleCountdown(settings.idleTimeout); }
    // A picture of the Interface folder, its name matched without regard to case.
    QString interfacePath(const QString& fileName) const;
};

} // namespace quindle
