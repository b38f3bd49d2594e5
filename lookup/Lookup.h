#pragma once

#include "screens/KioskContext.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <cstdint>

namespace quindle {

class Browsing;

// The on-screen keyboard: its panel, opened by the lookup button and assembled from the
// Interface pictures, the keys on the key picture, the cancel, clear, space and search
// buttons, and the search by name.
class Lookup : public QObject
{
    Q_OBJECT

public:
    // The key picture's cells: 66 by 66 pixels, 10 to a row, keys 0 to 37.
    static constexpr int keySize = 66;
    static constexpr int keysPerRow = 10;
    static constexpr int keyCount = 38;
    // Keys stop adding characters once the text holds more than this many.
    static constexpr int textLimit = 50;

    Lookup(const KioskContext& kiosk, Browsing& browsing);

    void buildKeyLegends();
    const QStringList& keyLegends() const { return m_keyLegends; }
    void connectControls();

    void openKeyboard();
    // Waits while the control's Notify is set, yielding to screen events; gives up after
    // two seconds so that a picture that never reports cannot hang the kiosk.
    void waitUntilShown(PictureControl& control);
    // Hides the panel; its search text stays.
    void closeKeyboard();

    void keyPress(QPoint position);
    void buttonPress(int index);
    void buttonRelease(int index);

signals:
    // A search was made; hits is 0 when it found nothing.
    void searched(std::int32_t hits);

private:
    void search();
    void waitYielding(std::chrono::milliseconds duration);

    KioskContext m_kiosk;
    Browsing& m_browsing;
    QStringList m_keyLegends;
};

} // namespace quindle
