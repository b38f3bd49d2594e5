#pragma once

#include "screens/KioskContext.h"
#include "screens/Navigation.h"

#include <QObject>

namespace quindle {

class Browsing;
class Lookup;

// The idle countdown and the attract slideshow: when nobody has touched the kiosk for a
// while it shows the pictures of the Attract folder in front of everything, one after the
// other, until a touch brings the visitor back to the first category.
class Attract : public QObject
{
    Q_OBJECT

public:
    Attract(const KioskContext& kiosk, Browsing& browsing, Lookup& lookup, QString kioskFolder);

    void connectControls();
    void firstIdleValues();
    // The countdown's part of the one-second tick: counts down and shows the next slide
    // when it runs out. Returns what the countdown came to.
    Navigation::IdleStep countDown();
    void leaveAttractMode();

private:
    void showNextSlide();

    KioskContext m_kiosk;
    Browsing& m_browsing;
    Lookup& m_lookup;
    QString m_kioskFolder;
    int m_slideIndex = 0;
};

} // namespace quindle
