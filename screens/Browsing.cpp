#include "screens/Browsing.h"

#include "catalogue/Catalogue.h"
#include "platform/ClickSound.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/PictureDecoder.h"
#include "platform/Yield.h"
#include "settings/SettingsMessages.h"
#include "tracking/TrackingLog.h"

#include <chrono>
#include <vector>

namespace quindle {

namespace {

constexpr auto notifyTimeout = std::chrono::milliseconds(2000);

QString folderPartOf(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

QString thumbnailFileOf(const QString& picturePath)
{
    const QString thumbnail =
        folderPartOf(picturePath) + QLatin1Char('_') + Catalogue::fileNameOf(picturePath);
    return fileExists(thumbnail) ? thumbnail : picturePath;
}

QString captionTextOf(const QString& picturePath)
{
    const QString name = Catalogue::fileNameOf(picturePath);
    return name.left(name.size() - 4);
}

Browsing::Browsing(const KioskSettings& settings, KioskControls& controls, KioskState& state,
                   Catalogue& catalogue, TrackingLog& log, const Services& services, QString programFolder)
    : m_settings(settings), m_controls(controls), m_state(state), m_catalogue(catalogue), m_log(log),
      m_services(services), m_programFolder(std::move(programFolder))
{
}

void Browsing::connectControls()
{
    for (int n = 1; n < static_cast<int>(m_controls.btnMenu.size()); ++n) {
        LabelControl* button = m_controls.btnMenu[static_cast<size_t>(n)];
        connect(button, &PictureControl::pressed, this, [this, n] { menuPress(n); });
        connect(button, &PictureControl::released, this, [this, n] { menuRelease(n); });
    }
    for (int i = 1; i < static_cast<int>(m_controls.btnThumbnail.size()); ++i) {
        PictureControl* slot = m_controls.btnThumbnail[static_cast<size_t>(i)];
        connect(slot, &PictureControl::pressed, this, [this, i] { thumbnailPress(i); });
        connect(slot, &PictureControl::released, this, [this, i] { thumbnailRelease(i); });
    }
    for (int i = 1; i < static_cast<int>(m_controls.lblFileName.size()); ++i)
        connect(m_controls.lblFileName[static_cast<size_t>(i)], &PictureControl::pressed, this,
                [this, i] { captionPress(i); });
    for (int index = PrevButton; index <= LookupButton; ++index) {
        if (LabelControl* button = controlButton(index))
            connect(button, &PictureControl::pressed, this, [this, index] { controlPress(index); });
    }
    connect(m_controls.bigPicture, &PictureControl::pressed, this, [this] { bigPicturePress(); });
    PictureControl* notifying[] = {m_controls.keyboard,       m_controls.keyboardFrame,
                                   m_controls.keyboardTop,    m_controls.btnKeyboard[0],
                                   m_controls.btnKeyboard[1], m_controls.btnKeyboard[2],
                                   m_controls.btnKeyboard[3]};
    for (PictureControl* control : notifying)
        connect(control, &PictureControl::notified, control, [control] { control->setNotify(false); });
}

LabelControl* Browsing::controlButton(int index) const
{
    return m_controls.btnControl.at(static_cast<size_t>(index));
}

QString Browsing::interfacePath(const QString& fileName) const
{
    return interfacePicture(m_settings.interfaceFolder, fileName);
}

void Browsing::setControlFace(int index, const QString& face)
{
    if (LabelControl* button = controlButton(index))
        setPicture(*button, m_settings.interfaceFolder, face);
}

void Browsing::playClick()
{
    if (m_services.sound.hasSource())
        m_services.sound.play();
}

QString Browsing::pictureAt(int position) const
{
    const QStringList& list = m_catalogue.imageList();
    if (position < 1 || position >= list.size())
        return {};
    return list.at(position);
}

// Start-up: the control buttons are shown, sized from their pictures and given their
// first faces. The pictures they need are checked first, so that a kiosk folder that
// lacks one ends with a message instead of showing empty buttons.
void Browsing::prepareControlButtons()
{
    const bool printing = m_settings.printingMode != PrintingMode::None;
    QStringList required{QStringLiteral("prev.jpg"), QStringLiteral("close.jpg"), QStringLiteral("next.jpg"),
                         QStringLiteral("-close.jpg")};
    if (printing)
        required << QStringLiteral("print.jpg") << QStringLiteral("-print.jpg");
    if (m_settings.lookupEnabled)
        required << QStringLiteral("lookup.jpg");
    for (const QString& picture : required) {
        if (!fileExists(interfacePath(picture)))
            m_services.endWithMessage(missingInterfacePictureMessage(picture));
    }

    const std::vector<int> shown = printing
                                       ? std::vector<int>{PrevButton, CloseButton, PrintButton, NextButton}
                                       : std::vector<int>{PrevButton, CloseButton, NextButton};
    for (int index : shown) {
        controlButton(index)->show();
        controlButton(index)->raise();
    }
    if (m_settings.lookupEnabled) {
        setControlFace(LookupButton, QStringLiteral("lookup.jpg"));
        controlButton(LookupButton)->show();
        controlButton(LookupButton)->raise();
    }

    const auto sizeFrom = [this](int index, const QString& picture) {
        controlButton(index)->resize(
            PictureDecoder::pixelSize(interfacePath(picture)).expandedTo(QSize(0, 0)));
    };
    sizeFrom(NextButton, QStringLiteral("next.jpg"));
    sizeFrom(PrevButton, QStringLiteral("prev.jpg"));
    sizeFrom(CloseButton, QStringLiteral("close.jpg"));
    if (printing)
        sizeFrom(PrintButton, QStringLiteral("print.jpg"));
    if (m_settings.lookupEnabled)
        sizeFrom(LookupButton, QStringLiteral("lookup.jpg"));

    if (printing) {
        setControlFace(PrintButton, QStringLiteral("-print.jpg"));
        controlButton(PrintButton)->setEnabled(false);
    }
    setControlFace(CloseButton, QStringLiteral("-close.jpg"));
    controlButton(CloseButton)->setEnabled(false);
    controlButton(NextButton)->setEnabled(false);
}

void Browsing::openFirstCategory()
{
    m_catalogue.setCurrentCategory(m_settings.menuEntries.at(1).folder);
    m_state.pageStart = 0;
    m_catalogue.scanPictures(ScanKind::Category);
    showThumbnailPage();
}

void Browsing::showThumbnailPage()
{
    if (detailOpen())
        closeDetail();
    const unsigned fill = ++m_fillNumber;
    // The page's pictures are decoded side by side on worker threads while the slots are
    // filled one by one, in their order, with a yield after each.
    QStringList thumbnails;
    for (int i = 1; i <= m_state.thumbsPerPage; ++i) {
        const QString picture = pictureAt(m_state.pageStart + i);
        thumbnails << (picture.isEmpty() ? QString() : thumbnailFileOf(picture));
    }
    if (m_state.thumbsPerPage > 0)
        PictureDecoder::prefetch(thumbnails, PictureFit::Inside, m_controls.btnThumbnail[1]->size());
    std::int32_t position = m_state.pageStart + 1;
    for (int i = 1; i <= m_state.thumbsPerPage; ++i, ++position) {
        PictureControl* slot = m_controls.btnThumbnail[static_cast<size_t>(i)];
        LabelControl* caption =
            m_settings.showFileName ? m_controls.lblFileName[static_cast<size_t>(i)] : nullptr;
        const QString picture = pictureAt(position);
        if (picture.isEmpty()) {
            if (caption)
                caption->hide();
            slot->setPicturePath(QString());
            slot->hide();
        } else {
            slot->setPicturePath(thumbnails.at(i - 1));
            // A "_" copy that cannot be read gives way to the picture itself.
            if (!slot->hasPicture() && thumbnails.at(i - 1) != picture)
                slot->setPicturePath(picture);
            slot->show();
            slot->raise();
            // The caption lies over its slot, so it comes to the front after it.
            if (caption) {
                caption->setCaption(captionTextOf(picture));
                caption->show();
                caption->raise();
            }
        }
        yieldToScreen();
        if (fill != m_fillNumber)
            return;
    }
    updatePagingButtons();
}

void Browsing::updatePagingButtons()
{
    const int count = m_catalogue.imageCount();
    bool previous = false;
    bool next = false;
    if (detailOpen()) {
        previous = m_state.currentPicture != 1;
        next = m_state.currentPicture != count;
    } else {
        previous = m_state.pageStart != 0;
        next = m_state.pageStart + m_state.thumbsPerPage < count;
    }
    setControlFace(PrevButton, previous ? QStringLiteral("prev.jpg") : QStringLiteral("-prev.jpg"));
    controlButton(PrevButton)->setEnabled(previous);
    setControlFace(NextButton, next ? QStringLiteral("next.jpg") : QStringLiteral("-next.jpg"));
    controlButton(NextButton)->setEnabled(next);
}

void Browsing::pageForward()
{
    m_state.pageStart += m_state.thumbsPerPage;
    showThumbnailPage();
}

void Browsing::pageBack()
{
    if (m_state.pageStart <= 0)
        return;
    m_state.pageStart -= m_state.thumbsPerPage;
    showThumbnailPage();
}

void Browsing::thumbnailPress(int slot)
{
    PictureControl* control = m_controls.btnThumbnail[static_cast<size_t>(slot)];
    playClick();
    m_state.resetIdle(m_settings.idleTimeout);
    control->setTag(control->picturePath());
    control->setPicturePath(interfacePath(QStringLiteral("_thumbnail.jpg")));
    yieldToScreen();
    const std::int32_t picture = m_state.pageStart + slot;
    // A page fill or a new list during the yield may have left this slot without a picture.
    if (pictureAt(picture).isEmpty())
        return;
    m_state.pageStartAtDetail = m_state.pageStart;
    m_state.currentPicture = picture;
    logDetail();
    openDetail();
}

void Browsing::thumbnailRelease(int slot)
{
    PictureControl* control = m_controls.btnThumbnail[static_cast<size_t>(slot)];
    control->setPicturePath(control->tag());
}

void Browsing::captionPress(int slot)
{
    thumbnailPress(slot);
    thumbnailRelease(slot);
}

bool Browsing::detailOpen() const
{
    return m_controls.bigPicture->isVisible();
}

void Browsing::logDetail()
{
    if (m_settings.trackingMode == TrackingMode::None)
        return;
    m_log.logEvent(QStringLiteral("Detail: ") + Catalogue::fileNameOf(pictureAt(m_state.currentPicture)));
}

void Browsing::openDetail()
{
    PictureControl* big = m_controls.bigPicture;
    big->setDisplaySwitch(true);
    big->setPicturePath(pictureAt(m_state.currentPicture));
    big->show();
    big->raise();
    updatePagingButtons();
    updatePrintButton();
    setControlFace(CloseButton, QStringLiteral("close.jpg"));
    controlButton(CloseButton)->setEnabled(true);
}

void Browsing::closeDetail()
{
    m_controls.bigPicture->setDisplaySwitch(false);
    if (m_settings.printingMode != PrintingMode::None) {
        setControlFace(PrintButton, QStringLiteral("-print.jpg"));
        controlButton(PrintButton)->setEnabled(false);
    }
    m_controls.bigPicture->hide();
    setControlFace(CloseButton, QStringLiteral("-close.jpg"));
    controlButton(CloseButton)->setEnabled(false);
    updatePagingButtons();
    if (m_state.pageStart != m_state.pageStartAtDetail)
        showThumbnailPage();
}

void Browsing::bigPicturePress()
{
    playClick();
    m_state.resetIdle(m_settings.idleTimeout);
    closeDetail();
}

void Browsing::controlPress(int index)
{
    playClick();
    m_state.resetIdle(m_settings.idleTimeout);
    switch (index) {
    case NextButton:
        setControlFace(NextButton, QStringLiteral("_next.jpg"));
        yieldToScreen();
        m_log.logEvent(QStringLiteral("Next Button Pressed"));
        if (!detailOpen())
            return pageForward();
        return stepDetail(+1);
    case PrevButton:
        setControlFace(PrevButton, QStringLiteral("_prev.jpg"));
        yieldToScreen();
        m_log.logEvent(QStringLiteral("Prev Button Pressed"));
        if (!detailOpen())
            return pageBack();
        return stepDetail(-1);
    case CloseButton:
        setControlFace(CloseButton, QStringLiteral("_close.jpg"));
        yieldToScreen();
        m_log.logEvent(QStringLiteral("Close Button Pressed"));
        return closeDetail();
    case PrintButton:
        return printPress();
    case LookupButton:
        return openKeyboard();
    default:
        return;
    }
}

// One step of the detail view; the page follows the picture without being refilled while
// it is covered.
void Browsing::stepDetail(int direction)
{
    const std::int32_t next = m_state.currentPicture + direction;
    if (pictureAt(next).isEmpty()) {
        updatePagingButtons();
        return;
    }
    m_state.currentPicture = next;
    m_controls.bigPicture->setPicturePath(pictureAt(next));
    logDetail();
    if (direction > 0 && next > m_state.pageStart + m_state.thumbsPerPage)
        m_state.pageStart += m_state.thumbsPerPage;
    if (direction < 0 && next <= m_state.pageStart)
        m_state.pageStart -= m_state.thumbsPerPage;
    updatePagingButtons();
    updatePrintButton();
}

void Browsing::menuPress(int number)
{
    LabelControl* button = m_controls.btnMenu[static_cast<size_t>(number)];
    m_state.resetIdle(m_settings.idleTimeout);
    m_log.logEvent(QStringLiteral("Menu Button %1 Pressed").arg(number));
    // The pressed face is loaded every time: the Tag that would cache it holds the caption.
    const QString pressedFace = interfacePath(QStringLiteral("_btn%1.jpg").arg(number));
    if (fileExists(pressedFace))
        button->setPicturePath(pressedFace);
    button->setTag(button->caption());
    button->setCaption(QString());
    yieldToScreen();
    m_catalogue.setCurrentCategory(m_settings.menuEntries.at(static_cast<size_t>(number)).folder);
    if (detailOpen())
        bigPicturePress();
    else
        playClick();
    m_catalogue.scanPictures(ScanKind::Category);
    m_state.pageStart = 0;
    showThumbnailPage();
}

void Browsing::menuRelease(int number)
{
    LabelControl* button = m_controls.btnMenu[static_cast<size_t>(number)];
    button->setPicturePath(interfacePath(QStringLiteral("btn%1.jpg").arg(number)));
    button->setCaption(button->tag());
    // The names are found without regard to case; the message shows the path as the
    // settings name it.
    const QString relative = joinPath(m_settings.kioskFolder, m_catalogue.currentCategory());
    const QString found = resolveCaseless(m_programFolder, relative);
    if (folderExists(found) || fileExists(found))
        return;
    const QString path = joinPath(m_programFolder, relative);
    m_services.messages.show(QStringLiteral("Product Directory \"%1\" Does Not Exist").arg(path));
}

void Browsing::waitUntilShown(PictureControl& control)
{
    const auto start = m_services.clock.monotonic();
    while (control.notify()) {
        yieldToScreen();
        if (m_services.clock.monotonic() - start >= notifyTimeout) {
            control.setNotify(false);
            return;
        }
    }
}

// The keyboard is assembled behind everything else and brought to the front in one piece.
void Browsing::openKeyboard()
{
    m_log.logEvent(QStringLiteral("Lookup Button Pressed"));
    PictureControl& frame = *m_controls.keyboardFrame;
    frame.setNotify(true);
    frame.setPicturePath(interfacePath(QStringLiteral("keyboardFrame.jpg")));
    frame.move(0, 0);
    frame.show();
    frame.lower();
    waitUntilShown(frame);

    static const char* const faces[] = {"cancel.jpg", "clear.jpg", "space.jpg", "search.jpg"};
    for (PictureControl* button : m_controls.btnKeyboard)
        button->setNotify(true);
    for (size_t k = 0; k < m_controls.btnKeyboard.size(); ++k) {
        m_controls.btnKeyboard[k]->setPicturePath(interfacePath(QLatin1String(faces[k])));
        waitUntilShown(*m_controls.btnKeyboard[k]);
    }
    const int buttonTop = frame.height() - m_controls.btnKeyboard[0]->height();
    for (size_t k = 0; k < m_controls.btnKeyboard.size(); ++k)
        m_controls.btnKeyboard[k]->move(m_settings.keyboardButtonLeft[k], buttonTop);

    PictureControl& strip = *m_controls.keyboardTop;
    strip.setNotify(true);
    strip.setPicturePath(interfacePath(QStringLiteral("keyboardInput.jpg")));
    strip.show();
    strip.raise();
    waitUntilShown(strip);
    strip.move((frame.width() - strip.width()) / 2, 0);

    PictureControl& keys = *m_controls.keyboard;
    keys.setNotify(true);
    keys.setPicturePath(interfacePath(QStringLiteral("keyboard.jpg")));
    waitUntilShown(keys);
    keys.show();
    keys.raise();
    waitUntilShown(keys);

    SearchBox& search = *m_controls.txtSearch;
    search.setText(QString());
    // The box spans the input strip, with the same margin on both sides as on its left.
    const int margin = std::max(8, search.x() - strip.x());
    search.resize(std::max(200, strip.width() - 2 * margin),
                  std::max(40, strip.height() - 2 * std::max(4, search.y())));
    search.show();
    search.raise();

    m_controls.kbdDown->setPicturePath(interfacePath(QStringLiteral("_kbd.jpg")));
    frame.raise();
}

} // namespace quindle
