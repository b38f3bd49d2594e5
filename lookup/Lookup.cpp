#include "lookup/Lookup.h"

#include "catalogue/Catalogue.h"
#include "platform/ClickSound.h"
#include "platform/Clock.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"
#include "tracking/TrackingLog.h"

#include <QThread>

namespace quindle {

namespace {

constexpr auto highlightTime = std::chrono::milliseconds(50);
constexpr auto noResultsTime = std::chrono::milliseconds(2500);
const char* const pressedFaces[] = {"_cancel.jpg", "_clear.jpg", "_space.jpg", "_search.jpg"};

enum KeyboardButton : int { CancelButton = 0, ClearButton = 1, SpaceButton = 2, SearchButton = 3 };

} // namespace

Lookup::Lookup(const KioskSettings& settings, KioskControls& controls, KioskState& state,
               Catalogue& catalogue, TrackingLog& log, Browsing& browsing, const Services& services)
    : m_settings(settings), m_controls(controls), m_state(state), m_catalogue(catalogue), m_log(log),
      m_browsing(browsing), m_services(services)
{
}

void Lookup::buildKeyLegends()
{
    if (!m_settings.lookupEnabled)
        return;
    const QString characters = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-");
    m_keyLegends.clear();
    for (QChar character : characters)
        m_keyLegends << QString(character);
}

void Lookup::connectControls()
{
    connect(m_controls.keyboard, &PictureControl::pressed, this,
            [this](int, QPoint position) { keyPress(position); });
    for (int i = 0; i < static_cast<int>(m_controls.btnKeyboard.size()); ++i) {
        PictureControl* button = m_controls.btnKeyboard[static_cast<size_t>(i)];
        connect(button, &PictureControl::pressed, this, [this, i] { buttonPress(i); });
        connect(button, &PictureControl::released, this, [this, i] { buttonRelease(i); });
    }
}

QString Lookup::interfacePath(const QString& fileName) const
{
    return interfacePicture(m_settings.interfaceFolder, fileName);
}

void Lookup::playClick()
{
    if (m_services.sound.hasSource())
        m_services.sound.play();
}

void Lookup::waitYielding(std::chrono::milliseconds duration)
{
    const auto start = m_services.clock.monotonic();
    while (m_services.clock.monotonic() - start < duration) {
        yieldToScreen();
        QThread::msleep(1);
    }
}

// The character is added before the highlight's wait, so that a second key pressed during
// the wait lands after it: quick typing keeps its order.
void Lookup::keyPress(QPoint position)
{
    SearchBox& text = *m_controls.txtSearch;
    if (text.text().size() > textLimit)
        return;
    playClick();
    m_state.resetIdle(m_settings.idleTimeout);
    const int column = position.x() / keySize;
    const int row = position.y() / keySize;
    const int key = row * keysPerRow + column;
    if (position.x() < 0 || position.y() < 0 || key >= keyCount || key >= m_keyLegends.size())
        return;
    PictureControl& highlight = *m_controls.kbdDown;
    highlight.move(m_controls.keyboard->x() + column * keySize, m_controls.keyboard->y() + row * keySize);
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
    PictureControl& button = *m_controls.btnKeyboard.at(static_cast<size_t>(index));
    playClick();
    m_state.resetIdle(m_settings.idleTimeout);
    button.setTag(button.picturePath());
    button.setPicturePath(interfacePath(QLatin1String(pressedFaces[index])));
    yieldToScreen();
}

void Lookup::buttonRelease(int index)
{
    PictureControl& button = *m_controls.btnKeyboard.at(static_cast<size_t>(index));
    button.setPicturePath(button.tag());
    SearchBox& text = *m_controls.txtSearch;
    switch (index) {
    case CancelButton:
        m_log.logEvent(QStringLiteral("Lookup Canceled"));
        m_controls.bigPicture->setDisplaySwitch(false);
        m_controls.keyboardFrame->hide();
        yieldToScreen();
        m_controls.bigPicture->setDisplaySwitch(true);
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
    const QString text = m_controls.txtSearch->text();
    m_log.logEvent(QStringLiteral("Search: ") + text);
    m_catalogue.scanPictures(ScanKind::Search, text);
    if (m_catalogue.searchResults().value(1).isEmpty()) {
        // The no-results picture stays for a moment during which no press is handled:
        // presses made meanwhile wait until it has gone.
        m_controls.keyboard->setPicturePath(interfacePath(QStringLiteral("noResults.jpg")));
        yieldToScreen();
        m_services.clock.sleepFor(noResultsTime);
        m_controls.keyboard->setPicturePath(interfacePath(QStringLiteral("keyboard.jpg")));
        return;
    }
    m_catalogue.setImageList(m_catalogue.searchResults());
    m_controls.keyboardFrame->hide();
    m_state.pageStart = 0;
    m_browsing.showThumbnailPage();
}

} // namespace quindle
