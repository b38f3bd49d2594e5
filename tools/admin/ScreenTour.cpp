#include "tools/admin/ScreenTour.h"

#include "attract/Attract.h"
#include "lookup/Lookup.h"
#include "platform/FileSystem.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"

namespace quindle::admin {

namespace {

const char* const controlButtonNames[] = {"", "prev", "close", "print", "next", "lookup"};
const char* const keyboardButtonNames[] = {"cancel", "clear", "space", "search"};

} // namespace

ScreenTour::ScreenTour(const QString& programFolder)
    : m_services{m_clock, m_messages, m_messages, m_sound},
      m_window(programFolder, m_services, m_machine.services())
{
}

void ScreenTour::run(const QStringList& lines)
{
    m_lines = lines;
    m_window.startKiosk(KioskWindow::StartMode::Preview);
    keep(QStringLiteral("start.png"), QStringLiteral("Start: the first category's first page"));
    placeScreenControls();
    showCategories();
    showDetail();
    showKeyboard();
    showAttract();
}

// Where start-up put the controls of the screen: the menu and control buttons with the
// captions they start with, the grid's slots as one, the detail view.
void ScreenTour::placeScreenControls()
{
    const KioskSettings& settings = m_window.settings();
    const KioskControls& controls = m_window.controls();
    const auto place = [&](const QString& name, const QString& key, QRect rect, ControlKind kind,
                           const LabelControl* label) {
        m_placed.push_back(PlacedControl{name, statementLine(m_lines, key), rect, kind,
                                         label ? label->caption() : QString(),
                                         label ? label->captionFont() : QFont()});
    };
    for (int n = 1; n <= settings.menuEntryCount(); ++n) {
        const QString key = QStringLiteral("btn%1").arg(n);
        const LabelControl* button = controls.btnMenu[static_cast<size_t>(n)];
        place(key, key, button->geometry(), ControlKind::MenuButton, button);
    }
    QRect grid;
    for (size_t i = 1; i < controls.btnThumbnail.size(); ++i)
        grid |= controls.btnThumbnail[i]->geometry();
    if (!grid.isNull())
        place(QStringLiteral("grid"), QStringLiteral("grid"), grid, ControlKind::Grid, nullptr);
    if (settings.detailView)
        place(QStringLiteral("detailView"), QStringLiteral("detailView"), controls.bigPicture->geometry(),
              ControlKind::DetailView, nullptr);
    for (int index = PrevButton; index <= LookupButton; ++index) {
        const LabelControl* button = controls.btnControl[static_cast<size_t>(index)];
        const QString key = QLatin1String(controlButtonNames[index]);
        if (button && !button->isHidden())
            place(key, key, button->geometry(), ControlKind::ControlButton, button);
    }
}

QImage ScreenTour::grab()
{
    yieldToScreen();
    return m_window.grab().toImage();
}

void ScreenTour::keep(const QString& file, const QString& title)
{
    m_screens.push_back(ScreenPicture{file, title, grab()});
}

// Each menu button pressed, pictured before the finger lifts, so that its pressed face shows.
void ScreenTour::showCategories()
{
    for (int n = 1; n <= m_window.settings().menuEntryCount(); ++n) {
        m_window.browsing().menuPress(n);
        const QString caption = m_window.settings().menuEntries[static_cast<size_t>(n)].caption;
        keep(QStringLiteral("category-%1.png").arg(n),
             QStringLiteral("Category %1: %2, its menu button pressed")
                 .arg(n)
                 .arg(caption.isEmpty() ? m_window.settings().menuEntries[static_cast<size_t>(n)].folder
                                        : QString(caption).replace(u'_', u' ')));
        m_window.browsing().menuRelease(n);
    }
}

void ScreenTour::showDetail()
{
    m_window.browsing().openCategory(1);
    if (m_window.navigation().slotPicture(1).isEmpty())
        return;
    m_firstPicture = m_window.navigation().slotPicture(1);
    m_window.browsing().thumbnailPress(1);
    m_window.browsing().thumbnailRelease(1);
    keep(QStringLiteral("detail.png"), QStringLiteral("Detail view: %1").arg(captionTextOf(m_firstPicture)));
    m_window.browsing().closeDetail();
}

// The keys that spell the sample: the first word of the first picture's name, as far as
// the keyboard has its letters.
void ScreenTour::typeSample()
{
    Lookup& lookup = m_window.lookup();
    const QString word = captionTextOf(m_firstPicture).section(u' ', 0, 0).toUpper();
    QString sample;
    for (QChar character : word.isEmpty() ? QStringLiteral("SAMPLE") : word)
        if (lookup.keyLegends().contains(QString(character)))
            sample += character;
    for (QChar character : sample.left(12)) {
        const int key = static_cast<int>(lookup.keyLegends().indexOf(QString(character)));
        const int half = Lookup::keySize / 2;
        lookup.keyPress(QPoint((key % Lookup::keysPerRow) * Lookup::keySize + half,
                               (key / Lookup::keysPerRow) * Lookup::keySize + half));
    }
}

void ScreenTour::showKeyboard()
{
    if (!m_window.settings().lookupEnabled)
        return;
    Lookup& lookup = m_window.lookup();
    lookup.openKeyboard();
    typeSample();
    keep(QStringLiteral("keyboard.png"), QStringLiteral("Keyboard, with a sample text typed"));
    placeKeyboard();
    const KioskControls& controls = m_window.controls();
    const QString interface = m_window.settings().interfaceFolder;
    const QString noResults = interfacePicture(interface, QStringLiteral("noResults.jpg"));
    if (fileExists(noResults)) {
        // As a search without hits shows it, for the moment it stays.
        controls.keyboard->setPicturePath(noResults);
        keep(QStringLiteral("no-results.png"), QStringLiteral("Keyboard after a search without hits"));
        controls.keyboard->setPicturePath(interfacePicture(interface, QStringLiteral("keyboard.jpg")));
    }
    lookup.closeKeyboard();
}

// The keyboard's parts lie in its frame; their places count from the window's corner here.
void ScreenTour::placeKeyboard()
{
    const KioskControls& controls = m_window.controls();
    m_keyboardFrame = controls.keyboardFrame->geometry();
    const QPoint frame = m_keyboardFrame.topLeft();
    const auto place = [&](const QString& name, const QWidget* control) {
        m_placed.push_back(PlacedControl{name, statementLine(m_lines, name.section(u' ', 0, 0)),
                                         control->geometry().translated(frame), ControlKind::Keyboard,
                                         QString(), QFont()});
    };
    place(QStringLiteral("keyboard"), controls.keyboard);
    place(QStringLiteral("keyboardText"), controls.txtSearch);
    for (size_t k = 0; k < controls.btnKeyboard.size(); ++k)
        place(QStringLiteral("keyboardButtons (%1)").arg(QLatin1String(keyboardButtonNames[k])),
              controls.btnKeyboard[k]);
}

// The countdown run down from its start, as an idle kiosk's ticks would.
void ScreenTour::showAttract()
{
    if (!m_window.settings().attractEnabled)
        return;
    Attract& attract = m_window.attract();
    attract.firstIdleValues();
    for (int tick = 0; tick <= m_window.settings().idleTimeout + 1 && !m_window.navigation().slideshowShown();
         ++tick)
        attract.countDown();
    if (!m_window.navigation().slideshowShown())
        return;
    keep(QStringLiteral("attract.png"), QStringLiteral("Attract: the first slide"));
    attract.leaveAttractMode();
}

} // namespace quindle::admin
