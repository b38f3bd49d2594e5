#pragma once

#include "platform/KioskControls.h"
#include "platform/Services.h"
#include "screens/Navigation.h"
#include "settings/KioskSettings.h"

namespace quindle {

class Catalogue;
class TrackingLog;

// What every part of the kiosk window works on: the settings, the controls, the navigation
// model, the catalogue, the tracking log and the platform services.
struct KioskContext
{
    const KioskSettings& settings;
    KioskControls& controls;
    Navigation& navigation;
    Catalogue& catalogue;
    TrackingLog& log;
    Services services;

    // The first steps of every visitor press: the click, and the idle countdown starts again.
    void playClick() const;
    void resetIdle() const { navigation.setIdleCountdown(settings.idleTimeout); }
    // A picture of the Interface folder, its name matched without regard to case.
    QString interfacePath(const QString& fileName) const;
};

} // namespace quindle
