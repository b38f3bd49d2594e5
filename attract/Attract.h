#pragma once

#include "platform/KioskControls.h"
#include "platform/Services.h"
#include "screens/KioskState.h"
#include "settings/KioskSettings.h"

#include <QObject>
#include <functional>

namespace quindle {

class Browsing;
class Catalogue;
class TrackingLog;

// The one-second tick and the attract slideshow: each tick runs the reboot schedule, the
// watchdog's sign of life and the idle countdown, in this order; when the countdown runs
// out the kiosk shows the next picture of the Attract folder in front of everything.
class Attract : public QObject
{
    Q_OBJECT

public:
    Attract(const KioskSettings& settings, KioskControls& controls, KioskState& state, Catalogue& catalogue,
            TrackingLog& log, Browsing& browsing, const Services& services, QString kioskFolder);

    // The first two steps of every tick, supplied by the unattended part. The reboot step
    // returns true when it has started a restart, which ends the tick.
    std::function<bool()> checkRebootSchedule = [] {
        return false;
    };
    std::function<void()> tickleWatchdog = [] {
    };

    void connectControls();
    void firstIdleValues();
    void tick();
    void leaveAttractMode();

    int slideIndex() const { return m_slideIndex; }
    bool attractShown() const;

private:
    void showNextSlide();

    const KioskSettings& m_settings;
    KioskControls& m_controls;
    KioskState& m_state;
    Catalogue& m_catalogue;
    TrackingLog& m_log;
    Browsing& m_browsing;
    Services m_services;
    QString m_kioskFolder;
    int m_slideIndex = 0;
};

} // namespace quindle
