#include "lookup/Lookup.h"

#include "catalogue/Catalogue.h"
#include "platform/ClickSound.h"
#include "platform/Clock.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

#include <QThread>

namespace quindle {

namespace {

constexpr auto highlightTime = std::chrono::milliseconds(50);
constexpr auto noResultsTime = std::chrono::milliseconds(2500);
const char* const pressedFaces[] = {"_cancel.jpg", "_clear.jpg", "_space.jpg", "_search.jpg"};

enum KeyboardButton : int { CancelButton = 0, ClearButton = 1, SpaceButton = 2, SearchButton = 3 };

} // namespace

Lookup::Lookup(const KioskContext& kiosk, Browsing& browsing) : m_kiosk(kiosk), m_browsing(browsing) {}

void Lookup::buildKeyLegends()
{
    if (!m_kiosk.settings.lookupEnabled)
        return;
    const QString characters = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-");
    m_keyLegends.clear();
    for (QChar character : characters)
        m_keyLegends << QString(character);
}

void Lookup::connectControls()
{
    connect(m_kiosk.controls.keyboard, &PictureControl::pressed, this,
            [this](int, QPoint position) { keyPress(position); });
    for (int i = 0; i < static_cast<int>(m_kiosk.controls.btnKeyboard.size()); ++i) {
        PictureControl* button = m_kiosk.controls.btnKeyboard[static_cast<size_t>(i)];
        connect(button, &PictureControl::pressed, this, [this, i] { buttonPress(i); });
        connect(button, &PictureControl::released, this, [this, i] { buttonRelease(i); });
    }
}

QString Lookup::interfacePath(const QString& fileName) const
{
    return interfacePicture(m_kiosk.settings.interfaceFolder, fileName);
}

void Lookup::playClick()
{
    if (m_kiosk.services.sound.hasSource())
        m_kiosk.services.sound.play();
}

void Lookup::waitYielding(std::chrono::milliseconds duration)
{
    const auto start = m_kiosk.services.clock.monotonic();
    while (m_kiosk.services.clock.monotonic() - start < duration) {
        yieldToScreen();
        QThread::msleep(1);
    }
}

// The character is added before the highlight's wait, so that a second key pressed during
// the wait lands after it: quick typing keeps its order.
void Lookup::keyPress(QPoint position)
{
    SearchBox& text = *m_kiosk.controls.txtSearch;
    if (text.text().size() > textLimit)
        return;
    playClick();
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    const int column = position.x() / keySize;
    const int row = position.y() / keySize;
    const int key = row * keysPerRow + column;
    if (position.x() < 0 || position.y() < 0 || key >= keyCount || key >= m_keyLegends.size())
        return;
    PictureControl& highlight = *m_kiosk.controls.kbdDown;
    highlight.move(m_kiosk.controls.keyboard->x() + column * keySize,
                   m_kiosk.controls.keyboard->y() + row * keySize);
    highlight.show();
    highlight.raise();
    text.setText(text.text() + m_keyLegends.at(key));
    text.moveCursorToEnd();
    yieldToScreen();
    waitYielding(highlightTime);
    highlight.hide();
}

void Lookup::buttonPress(int index)
{
    PictureControl& button = *m_kiosk.controls.btnKeyboard.at(static_cast<size_t>(index));
    playClick();
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    button.setTag(button.picturePath());
    button.setPicturePath(interfacePath(QLatin1String(pressedFaces[index])));
    yieldToScreen();
}

void Lookup::buttonRelease(int index)
{
    PictureControl& button = *m_kiosk.controls.btnKeyboard.at(static_cast<size_t>(index));
    button.setPicturePath(button.tag());
    SearchBox& text = *m_kiosk.controls.txtSearch;
    switch (index) {
    case CancelButton:
        m_kiosk.log.logEvent(trackingText(TrackingEvent::LookupCanceled));
        m_kiosk.controls.bigPicture->setDisplaySwitch(false);
        m_kiosk.controls.keyboardFrame->hide();
        yieldToScreen();
        m_kiosk.controls.bigPicture->setDisplaySwitch(true);
        return;
    case ClearButton:
        text.setText(QString());
        return;
    case SpaceButton:
        text.setText(text.text() + QLatin1Char(' '));
        text.moveCursorToEnd();
        return;
    case SearchButton:
        return search();
    default:
        return;
    }
}

void Lookup::search()
{
    const QString text = m_kiosk.controls.txtSearch->text();
    m_kiosk.log.logEvent(trackingText(TrackingEvent::Search, text));
    m_kiosk.catalogue.scanPictures(ScanKind::Search, text);
    if (m_kiosk.catalogue.searchResults().value(1).isEmpty()) {
        // The no-results picture stays for a moment during which no press is handled:
        // presses made meanwhile wait until it has gone.
        m_kiosk.controls.keyboard->setPicturePath(interfacePath(QStringLiteral("noResults.jpg")));
        yieldToScreen();
        m_kiosk.services.clock.sleepFor(noResultsTime);
        m_kiosk.controls.keyboard->setPicturePath(interfacePath(QStringLiteral("keyboard.jpg")));
        return;
    }
    m_kiosk.catalogue.setImageList(m_kiosk.catalogue.searchResults());
    m_kiosk.controls.keyboardFrame->hide();
    m_kiosk.state.pageStart = 0;
    m_browsing.showThumbnailPage();
}

} // namespace quindle
