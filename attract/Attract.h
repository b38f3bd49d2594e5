#pragma once

#include "screens/KioskContext.h"

#include <QObject>
#include <functional>

namespace quindle {

class Browsing;

// The one-second tick and the attract slideshow: each tick runs the reboot schedule, the
// watchdog's sign of life and the idle countdown, in this order; when the countdown runs
// out the kiosk shows the next picture of the Attract folder in front of everything.
class Attract : public QObject
{
    Q_OBJECT

public:
    Attract(const KioskContext& kiosk, Browsing& browsing, QString kioskFolder);

    // The first two steps of every tick, supplied by the unattended part. The reboot step
    // returns true when it has started a restart, which ends the tick; the second tells the
    // watchdog card and the service manager that the kiosk is alive.
    std::function<bool()> checkRebootSchedule = [] {
        return false;
    };
    std::function<void()> sendSignsOfLife = [] {
    };

    void connectControls();
    void firstIdleValues();
    void tick();
    void leaveAttractMode();

    int slideIndex() const { return m_slideIndex; }
    bool attractShown() const;

private:
    void showNextSlide();

    KioskContext m_kiosk;
    Browsing& m_browsing;
    QString m_kioskFolder;
    int m_slideIndex = 0;
};

} // namespace quindle
