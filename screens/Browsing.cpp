#include "screens/Browsing.h"

#include "catalogue/Catalogue.h"
#include "controls/PictureDecoder.h"
#include "platform/ClickSound.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Yield.h"
#include "settings/SettingsMessages.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

#include <chrono>
#include <vector>

namespace quindle {

namespace {

constexpr auto notifyTimeout = std::chrono::milliseconds(2000);

} // namespace

QString thumbnailFileOf(const QString& picturePath)
{
    const QString thumbnail = folderOf(picturePath) + QLatin1Char('_') + fileNameOf(picturePath);
    return fileExists(thumbnail) ? thumbnail : picturePath;
}

QString captionTextOf(const QString& picturePath)
{
    const QString name = fileNameOf(picturePath);
    return name.left(name.size() - 4);
}

Browsing::Browsing(const KioskContext& kiosk, QString programFolder)
    : m_kiosk(kiosk), m_programFolder(std::move(programFolder))
{
}

void Browsing::connectControls()
{
    for (int n = 1; n < static_cast<int>(m_kiosk.controls.btnMenu.size()); ++n) {
        LabelControl* button = m_kiosk.controls.btnMenu[static_cast<size_t>(n)];
        connect(button, &PictureControl::pressed, this, [this, n] { menuPress(n); });
        connect(button, &PictureControl::released, this, [this, n] { menuRelease(n); });
    }
    for (int i = 1; i < static_cast<int>(m_kiosk.controls.btnThumbnail.size()); ++i) {
        PictureControl* slot = m_kiosk.controls.btnThumbnail[static_cast<size_t>(i)];
        connect(slot, &PictureControl::pressed, this, [this, i] { thumbnailPress(i); });
        connect(slot, &PictureControl::released, this, [this, i] { thumbnailRelease(i); });
    }
    for (int i = 1; i < static_cast<int>(m_kiosk.controls.lblFileName.size()); ++i)
        connect(m_kiosk.controls.lblFileName[static_cast<size_t>(i)], &PictureControl::pressed, this,
                [this, i] { captionPress(i); });
    for (int index = PrevButton; index <= LookupButton; ++index) {
        if (LabelControl* button = controlButton(index))
            connect(button, &PictureControl::pressed, this, [this, index] { controlPress(index); });
    }
    connect(m_kiosk.controls.bigPicture, &PictureControl::pressed, this, [this] { bigPicturePress(); });
    PictureControl* notifying[] = {m_kiosk.controls.keyboard,       m_kiosk.controls.keyboardFrame,
                                   m_kiosk.controls.keyboardTop,    m_kiosk.controls.btnKeyboard[0],
                                   m_kiosk.controls.btnKeyboard[1], m_kiosk.controls.btnKeyboard[2],
                                   m_kiosk.controls.btnKeyboard[3]};
    for (PictureControl* control : notifying)
        connect(control, &PictureControl::notified, control, [control] { control->setNotify(false); });
}

LabelControl* Browsing::controlButton(int index) const
{
    return m_kiosk.controls.btnControl.at(static_cast<size_t>(index));
}

QString Browsing::interfacePath(const QString& fileName) const
{
    return interfacePicture(m_kiosk.settings.interfaceFolder, fileName);
}

void Browsing::setControlFace(int index, const QString& face)
{
    if (LabelControl* button = controlButton(index))
        setPicture(*button, m_kiosk.settings.interfaceFolder, face);
}

void Browsing::playClick()
{
    if (m_kiosk.services.sound.hasSource())
        m_kiosk.services.sound.play();
}

QString Browsing::pictureAt(int position) const
{
    const QStringList& list = m_kiosk.catalogue.imageList();
    if (position < 1 || position >= list.size())
        return {};
    return list.at(position);
}

// Start-up: the control buttons are shown, sized from their pictures and given their
// first faces. The pictures they need are checked first, so that a kiosk folder that
// lacks one ends with a message instead of showing empty buttons.
void Browsing::prepareControlButtons()
{
    const bool printing = m_kiosk.settings.printingMode != PrintingMode::None;
    QStringList required{QStringLiteral("prev.jpg"), QStringLiteral("close.jpg"), QStringLiteral("next.jpg"),
                         QStringLiteral("-close.jpg")};
    if (printing)
        required << QStringLiteral("print.jpg") << QStringLiteral("-print.jpg");
    if (m_kiosk.settings.lookupEnabled)
        required << QStringLiteral("lookup.jpg");
    for (const QString& picture : required) {
        if (!fileExists(interfacePath(picture)))
            m_kiosk.services.endWithMessage(missingInterfacePictureMessage(picture));
    }

    const std::vector<int> shown = printing
                                       ? std::vector<int>{PrevButton, CloseButton, PrintButton, NextButton}
                                       : std::vector<int>{PrevButton, CloseButton, NextButton};
    for (int index : shown) {
        controlButton(index)->show();
        controlButton(index)->raise();
    }
    if (m_kiosk.settings.lookupEnabled) {
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
    if (m_kiosk.settings.lookupEnabled)
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
    m_kiosk.catalogue.setCurrentCategory(m_kiosk.settings.menuEntries.at(1).folder);
    m_kiosk.state.pageStart = 0;
    m_kiosk.catalogue.scanPictures(ScanKind::Category);
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
    for (int i = 1; i <= m_kiosk.state.thumbsPerPage; ++i) {
        const QString picture = pictureAt(m_kiosk.state.pageStart + i);
        thumbnails << (picture.isEmpty() ? QString() : thumbnailFileOf(picture));
    }
    if (m_kiosk.state.thumbsPerPage > 0)
        m_kiosk.pictures.prefetch(thumbnails, PictureFit::Inside, m_kiosk.controls.btnThumbnail[1]->size());
    std::int32_t position = m_kiosk.state.pageStart + 1;
    for (int i = 1; i <= m_kiosk.state.thumbsPerPage; ++i, ++position) {
        PictureControl* slot = m_kiosk.controls.btnThumbnail[static_cast<size_t>(i)];
        LabelControl* caption =
            m_kiosk.settings.showFileName ? m_kiosk.controls.lblFileName[static_cast<size_t>(i)] : nullptr;
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
    const int count = m_kiosk.catalogue.imageCount();
    bool previous = false;
    bool next = false;
    if (detailOpen()) {
        previous = m_kiosk.state.currentPicture != 1;
        next = m_kiosk.state.currentPicture != count;
    } else {
        previous = m_kiosk.state.pageStart != 0;
        next = m_kiosk.state.pageStart + m_kiosk.state.thumbsPerPage < count;
    }
    setControlFace(PrevButton, previous ? QStringLiteral("prev.jpg") : QStringLiteral("-prev.jpg"));
    controlButton(PrevButton)->setEnabled(previous);
    setControlFace(NextButton, next ? QStringLiteral("next.jpg") : QStringLiteral("-next.jpg"));
    controlButton(NextButton)->setEnabled(next);
}

void Browsing::pageForward()
{
    m_kiosk.state.pageStart += m_kiosk.state.thumbsPerPage;
    showThumbnailPage();
}

void Browsing::pageBack()
{
    if (m_kiosk.state.pageStart <= 0)
        return;
    m_kiosk.state.pageStart -= m_kiosk.state.thumbsPerPage;
    showThumbnailPage();
}

void Browsing::thumbnailPress(int slot)
{
    PictureControl* control = m_kiosk.controls.btnThumbnail[static_cast<size_t>(slot)];
    playClick();
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    control->setTag(control->picturePath());
    control->setPicturePath(interfacePath(QStringLiteral("_thumbnail.jpg")));
    yieldToScreen();
    const std::int32_t picture = m_kiosk.state.pageStart + slot;
    // A page fill or a new list during the yield may have left this slot without a picture.
    if (pictureAt(picture).isEmpty())
        return;
    m_kiosk.state.pageStartAtDetail = m_kiosk.state.pageStart;
    m_kiosk.state.currentPicture = picture;
    logDetail();
    openDetail();
}

void Browsing::thumbnailRelease(int slot)
{
    PictureControl* control = m_kiosk.controls.btnThumbnail[static_cast<size_t>(slot)];
    control->setPicturePath(control->tag());
}

void Browsing::captionPress(int slot)
{
    thumbnailPress(slot);
    thumbnailRelease(slot);
}

bool Browsing::detailOpen() const
{
    return m_kiosk.controls.bigPicture->isVisible();
}

void Browsing::logDetail()
{
    if (m_kiosk.settings.trackingMode == TrackingMode::None)
        return;
    m_kiosk.log.logEvent(
        trackingText(TrackingEvent::Detail, fileNameOf(pictureAt(m_kiosk.state.currentPicture))));
}

void Browsing::openDetail()
{
    PictureControl* big = m_kiosk.controls.bigPicture;
    big->setDisplaySwitch(true);
    big->setPicturePath(pictureAt(m_kiosk.state.currentPicture));
    big->show();
    big->raise();
    updatePagingButtons();
    updatePrintButton();
    setControlFace(CloseButton, QStringLiteral("close.jpg"));
    controlButton(CloseButton)->setEnabled(true);
}

void Browsing::closeDetail()
{
    m_kiosk.controls.bigPicture->setDisplaySwitch(false);
    if (m_kiosk.settings.printingMode != PrintingMode::None) {
        setControlFace(PrintButton, QStringLiteral("-print.jpg"));
        controlButton(PrintButton)->setEnabled(false);
    }
    m_kiosk.controls.bigPicture->hide();
    setControlFace(CloseButton, QStringLiteral("-close.jpg"));
    controlButton(CloseButton)->setEnabled(false);
    updatePagingButtons();
    if (m_kiosk.state.pageStart != m_kiosk.state.pageStartAtDetail)
        showThumbnailPage();
}

void Browsing::bigPicturePress()
{
    playClick();
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    closeDetail();
}

void Browsing::controlPress(int index)
{
    playClick();
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    switch (index) {
    case NextButton:
        setControlFace(NextButton, QStringLiteral("_next.jpg"));
        yieldToScreen();
        m_kiosk.log.logEvent(trackingText(TrackingEvent::NextButton));
        if (!detailOpen())
            return pageForward();
        return stepDetail(+1);
    case PrevButton:
        setControlFace(PrevButton, QStringLiteral("_prev.jpg"));
        yieldToScreen();
        m_kiosk.log.logEvent(trackingText(TrackingEvent::PrevButton));
        if (!detailOpen())
            return pageBack();
        return stepDetail(-1);
    case CloseButton:
        setControlFace(CloseButton, QStringLiteral("_close.jpg"));
        yieldToScreen();
        m_kiosk.log.logEvent(trackingText(TrackingEvent::CloseButton));
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
    const std::int32_t next = m_kiosk.state.currentPicture + direction;
    if (pictureAt(next).isEmpty()) {
        updatePagingButtons();
        return;
    }
    m_kiosk.state.currentPicture = next;
    m_kiosk.controls.bigPicture->setPicturePath(pictureAt(next));
    logDetail();
    if (direction > 0 && next > m_kiosk.state.pageStart + m_kiosk.state.thumbsPerPage)
        m_kiosk.state.pageStart += m_kiosk.state.thumbsPerPage;
    if (direction < 0 && next <= m_kiosk.state.pageStart)
        m_kiosk.state.pageStart -= m_kiosk.state.thumbsPerPage;
    updatePagingButtons();
    updatePrintButton();
}

void Browsing::menuPress(int number)
{
    LabelControl* button = m_kiosk.controls.btnMenu[static_cast<size_t>(number)];
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    m_kiosk.log.logEvent(menuButtonText(number));
    // The pressed face is loaded every time: the Tag that would cache it holds the caption.
    const QString pressedFace = interfacePath(QStringLiteral("_btn%1.jpg").arg(number));
    if (fileExists(pressedFace))
        button->setPicturePath(pressedFace);
    button->setTag(button->caption());
    button->setCaption(QString());
    yieldToScreen();
    m_kiosk.catalogue.setCurrentCategory(m_kiosk.settings.menuEntries.at(static_cast<size_t>(number)).folder);
    if (detailOpen())
        bigPicturePress();
    else
        playClick();
    m_kiosk.catalogue.scanPictures(ScanKind::Category);
    m_kiosk.state.pageStart = 0;
    showThumbnailPage();
}

void Browsing::menuRelease(int number)
{
    LabelControl* button = m_kiosk.controls.btnMenu[static_cast<size_t>(number)];
    button->setPicturePath(interfacePath(QStringLiteral("btn%1.jpg").arg(number)));
    button->setCaption(button->tag());
    // The names are found without regard to case; the message shows the path as the
    // settings name it.
    const QString relative = joinPath(m_kiosk.settings.kioskFolder, m_kiosk.catalogue.currentCategory());
    const QString found = resolveCaseless(m_programFolder, relative);
    if (folderExists(found) || fileExists(found))
        return;
    const QString path = joinPath(m_programFolder, relative);
    m_kiosk.services.messages.show(QStringLiteral("Product Directory \"%1\" Does Not Exist").arg(path));
}

void Browsing::waitUntilShown(PictureControl& control)
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
void Browsing::openKeyboard()
{
    m_kiosk.log.logEvent(trackingText(TrackingEvent::LookupButton));
    PictureControl& frame = *m_kiosk.controls.keyboardFrame;
    frame.setNotify(true);
    frame.setPicturePath(interfacePath(QStringLiteral("keyboardFrame.jpg")));
    frame.move(0, 0);
    frame.show();
    frame.lower();
    waitUntilShown(frame);

    static const char* const faces[] = {"cancel.jpg", "clear.jpg", "space.jpg", "search.jpg"};
    for (PictureControl* button : m_kiosk.controls.btnKeyboard)
        button->setNotify(true);
    for (size_t k = 0; k < m_kiosk.controls.btnKeyboard.size(); ++k) {
        m_kiosk.controls.btnKeyboard[k]->setPicturePath(interfacePath(QLatin1String(faces[k])));
        waitUntilShown(*m_kiosk.controls.btnKeyboard[k]);
    }
    const int buttonTop = frame.height() - m_kiosk.controls.btnKeyboard[0]->height();
    for (size_t k = 0; k < m_kiosk.controls.btnKeyboard.size(); ++k)
        m_kiosk.controls.btnKeyboard[k]->move(m_kiosk.settings.keyboardButtonLeft[k], buttonTop);

    PictureControl& strip = *m_kiosk.controls.keyboardTop;
    strip.setNotify(true);
    strip.setPicturePath(interfacePath(QStringLiteral("keyboardInput.jpg")));
    strip.show();
    strip.raise();
    waitUntilShown(strip);
    strip.move((frame.width() - strip.width()) / 2, 0);

    PictureControl& keys = *m_kiosk.controls.keyboard;
    keys.setNotify(true);
    keys.setPicturePath(interfacePath(QStringLiteral("keyboard.jpg")));
    waitUntilShown(keys);
    keys.show();
    keys.raise();
    waitUntilShown(keys);

    SearchBox& search = *m_kiosk.controls.txtSearch;
    search.setText(QString());
    // The box spans the input strip, with the same margin on both sides as on its left.
    const int margin = std::max(8, search.x() - strip.x());
    search.resize(std::max(200, strip.width() - 2 * margin),
                  std::max(40, strip.height() - 2 * std::max(4, search.y())));
    search.show();
    search.raise();

    m_kiosk.controls.kbdDown->setPicturePath(interfacePath(QStringLiteral("_kbd.jpg")));
    frame.raise();
}

} // namespace quindle
