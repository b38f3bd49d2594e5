#include "lookup/Lookup.h"

#include "catalogue/Catalogue.h"
#include "platform/Clock.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

#include <QThread>

namespace quindle {

namespace {

constexpr auto highlightTime = std::chrono::milliseconds(50);
constexpr auto notifyTimeout = std::chrono::milliseconds(2000);
const char* const buttonFaces[] = {"cancel.jpg", "clear.jpg", "space.jpg", "search.jpg"};
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
    const KioskControls& controls = m_kiosk.controls;
    PictureControl* notifying[] = {controls.keyboard,       controls.keyboardFrame,  controls.keyboardTop,
                                   controls.btnKeyboard[0], controls.btnKeyboard[1], controls.btnKeyboard[2],
                                   controls.btnKeyboard[3]};
    for (PictureControl* control : notifying)
        connect(control, &PictureControl::notified, control, [control] { control->setNotify(false); });
    connect(m_kiosk.controls.keyboard, &PictureControl::pressed, this,
            [this](int, QPoint position) { keyPress(position); });
    for (int i = 0; i < static_cast<int>(m_kiosk.controls.btnKeyboard.size()); ++i) {
        PictureControl* button = m_kiosk.controls.btnKeyboard[static_cast<size_t>(i)];
        connect(button, &PictureControl::pressed, this, [this, i] { buttonPress(i); });
        connect(button, &PictureControl::released, this, [this, i] { buttonRelease(i); });
    }
}

void Lookup::waitUntilShown(PictureControl& control)
{
    const auto start = m_kiosk.services.clock.monotonic();
    while (control.notify()) {
        yieldToScreen();
        if (m_kiosk.services.clock.monotonic() - start >= notifyTimeout) {
            control.setNotify(false);
            return;
        }
    }
}

// The keyboard is assembled behind everything else and brought to the front in one piece.
void Lookup::openKeyboard()
{
    m_kiosk.log.logEvent(trackingText(TrackingEvent::LookupButton));
    KioskControls& controls = m_kiosk.controls;
    PictureControl& frame = *controls.keyboardFrame;
    frame.setNotify(true);
    frame.setPicturePath(m_kiosk.interfacePath(QStringLiteral("keyboardFrame.jpg")));
    frame.move(0, 0);
    frame.show();
    frame.lower();
    m_kiosk.navigation.setKeyboardOpen(true);
    waitUntilShown(frame);

    for (PictureControl* button : controls.btnKeyboard)
        button->setNotify(true);
    for (size_t k = 0; k < controls.btnKeyboard.size(); ++k) {
        controls.btnKeyboard[k]->setPicturePath(m_kiosk.interfacePath(QLatin1String(buttonFaces[k])));
        waitUntilShown(*controls.btnKeyboard[k]);
    }
    const int buttonTop = frame.height() - controls.btnKeyboard[0]->height();
    for (size_t k = 0; k < controls.btnKeyboard.size(); ++k)
        controls.btnKeyboard[k]->move(m_kiosk.settings.keyboardButtonLeft[k], buttonTop);

    PictureControl& strip = *controls.keyboardTop;
    strip.setNotify(true);
    strip.setPicturePath(m_kiosk.interfacePath(QStringLiteral("keyboardInput.jpg")));
    strip.show();
    strip.raise();
    waitUntilShown(strip);
    strip.move((frame.width() - strip.width()) / 2, 0);

    PictureControl& keys = *controls.keyboard;
    keys.setNotify(true);
    keys.setPicturePath(m_kiosk.interfacePath(QStringLiteral("keyboard.jpg")));
    waitUntilShown(keys);
    keys.show();
    keys.raise();

    SearchBox& search = *controls.txtSearch;
    search.setText(QString());
    // The box spans the input strip, with the same margin on both sides as on its left.
    const int margin = std::max(8, search.x() - strip.x());
    search.resize(std::max(200, strip.width() - 2 * margin),
                  std::max(40, strip.height() - 2 * std::max(4, search.y())));
    search.show();
    search.raise();

    controls.kbdDown->setPicturePath(m_kiosk.interfacePath(QStringLiteral("_kbd.jpg")));
    frame.raise();
}

void Lookup::closeKeyboard()
{
    m_kiosk.controls.keyboardFrame->hide();
    m_kiosk.navigation.setKeyboardOpen(false);
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
    m_kiosk.playClick();
    m_kiosk.resetIdle();
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
    m_kiosk.playClick();
    m_kiosk.resetIdle();
    button.setPicturePath(m_kiosk.interfacePath(QLatin1String(pressedFaces[index])));
    yieldToScreen();
}

void Lookup::buttonRelease(int index)
{
    PictureControl& button = *m_kiosk.controls.btnKeyboard.at(static_cast<size_t>(index));
    button.setPicturePath(m_kiosk.interfacePath(QLatin1String(buttonFaces[index])));
    SearchBox& text = *m_kiosk.controls.txtSearch;
    switch (index) {
    case CancelButton:
        m_kiosk.log.logEvent(trackingText(TrackingEvent::LookupCanceled));
        closeKeyboard();
        yieldToScreen();
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
    emit searched(m_kiosk.catalogue.searchHitCount());
    if (m_kiosk.catalogue.searchResults().value(1).isEmpty()) {
        // The no-results picture stays for a moment during which no press is handled:
        // presses made meanwhile wait until it has gone.
        m_kiosk.controls.keyboard->setPicturePath(m_kiosk.interfacePath(QStringLiteral("noResults.jpg")));
        yieldToScreen();
        m_kiosk.services.clock.sleepFor(noResultsTime);
        m_kiosk.controls.keyboard->setPicturePath(m_kiosk.interfacePath(QStringLiteral("keyboard.jpg")));
        return;
    }
    m_kiosk.catalogue.setImageList(m_kiosk.catalogue.searchResults());
    closeKeyboard();
    m_kiosk.navigation.showList(m_kiosk.catalogue.imageList());
    m_browsing.showThumbnailPage();
}

} // namespace quindle
