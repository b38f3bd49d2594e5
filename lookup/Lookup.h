#pragma once

#include "screens/KioskContext.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

namespace quindle {

class Browsing;

// The on-screen keyboard while it is open: keys on the key picture, the cancel, clear,
// space and search buttons, and the search by name.
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

    void keyPress(QPoint position);
    void buttonPress(int index);
    void buttonRelease(int index);

private:
    void playClick();
    void search();
    void waitYielding(std::chrono::milliseconds duration);
    QString interfacePath(const QString& fileName) const;

    KioskContext m_kiosk;
    Browsing& m_browsing;
    QStringList m_keyLegends;
};

} // namespace quindle
