#include "screens/Browsing.h"

#include "catalogue/Catalogue.h"
#include "controls/PictureDecoder.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Yield.h"
#include "settings/InterfacePictures.h"
#include "settings/SettingsMessages.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

#include <vector>

namespace quindle {

namespace {

const QString lineBreak = QStringLiteral("\r\n");

} // namespace

QString thumbnailFileOf(const QString& picturePath)
{
    const QString thumbnail =
        resolveCaseless(folderOf(picturePath), QLatin1Char('_') + fileNameOf(picturePath));
    return fileExists(thumbnail) ? thumbnail : picturePath;
}

QString captionTextOf(const QString& picturePath)
{
    const QString name = fileNameOf(picturePath);
    return name.left(name.size() - 4);
}

QString menuCaptionText(const QString& caption)
{
    QString text = caption;
    for (qsizetype underscore = text.indexOf(QLatin1Char('_')); underscore >= 0;
         underscore = text.indexOf(QLatin1Char('_'))) {
        text = text.left(underscore) + lineBreak + text.mid(underscore + 1, 100);
    }
    return text;
}

Browsing::Browsing(const KioskContext& kiosk, QString programFolder)
    : m_kiosk(kiosk), m_programFolder(std::move(programFolder))
{
}

void Browsing::connectControls()
{
    const KioskControls& controls = m_kiosk.controls;
    for (int n = 1; n < static_cast<int>(controls.btnMenu.size()); ++n) {
        LabelControl* button = controls.btnMenu[static_cast<size_t>(n)];
        connect(button, &PictureControl::pressed, this, [this, n] { menuPress(n); });
        connect(button, &PictureControl::released, this, [this, n] { menuRelease(n); });
    }
    m_slotFaces.assign(controls.btnThumbnail.size(), QString());
    for (int i = 1; i < static_cast<int>(controls.btnThumbnail.size()); ++i) {
        PictureControl* slot = controls.btnThumbnail[static_cast<size_t>(i)];
        connect(slot, &PictureControl::pressed, this, [this, i] { thumbnailPress(i); });
        connect(slot, &PictureControl::released, this, [this, i] { thumbnailRelease(i); });
    }
    for (int i = 1; i < static_cast<int>(controls.lblFileName.size()); ++i)
        connect(controls.lblFileName[static_cast<size_t>(i)], &PictureControl::pressed, this,
                [this, i] { captionPress(i); });
    for (int index = PrevButton; index <= LookupButton; ++index) {
        if (LabelControl* button = controlButton(index))
            connect(button, &PictureControl::pressed, this, [this, index] { controlPress(index); });
    }
    connect(controls.bigPicture, &PictureControl::pressed, this, [this] { bigPicturePress(); });
}

LabelControl* Browsing::controlButton(int index) const
{
    return m_kiosk.controls.btnControl.at(static_cast<size_t>(index));
}

void Browsing::setControlFace(int index, const QString& face)
{
    if (LabelControl* button = controlButton(index))
        setPicture(*button, m_kiosk.settings.interfaceFolder, face);
}

// Start-up: the control buttons are shown, sized from their pictures and given their
// first faces. The pictures they need are checked first, so that a kiosk folder that
// lacks one ends with a message instead of showing empty buttons.
void Browsing::prepareControlButtons()
{
    const bool printing = m_kiosk.settings.printingMode != PrintingMode::None;
    // The menu buttons' faces, first in the table, were checked as their buttons were built.
    for (const InterfacePicture& picture : interfacePicturesFor(m_kiosk.settings)) {
        if (picture.need == PictureNeed::Required && !fileExists(m_kiosk.interfacePath(picture.fileName)))
            m_kiosk.services.endWithMessage(missingInterfacePictureMessage(picture.fileName));
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
            PictureDecoder::pixelSize(m_kiosk.interfacePath(picture)).expandedTo(QSize(0, 0)));
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

void Browsing::openCategory(int menuNumber)
{
    m_kiosk.catalogue.setCurrentCategory(
        m_kiosk.settings.menuEntries.at(static_cast<size_t>(menuNumber)).folder);
    m_kiosk.catalogue.scanPictures(ScanKind::Category);
    m_kiosk.navigation.showList(m_kiosk.catalogue.imageList());
    showThumbnailPage();
}

void Browsing::showThumbnailPage()
{
    if (m_kiosk.navigation.detailOpen())
        closeDetail();
    const Navigation& navigation = m_kiosk.navigation;
    const int thumbsPerPage = navigation.thumbsPerPage();
    const unsigned fill = ++m_fillNumber;
    // The fill has the processors and the memory to itself: decoding for the pages beside
    // stops, and has let its memory go, before the fill decodes anything.
    m_kiosk.pictures.stopBackground();
    // The page's pictures are decoded side by side on worker threads while the slots are
    // filled one by one, in their order, with a yield after each.
    QStringList thumbnails;
    for (int i = 1; i <= thumbsPerPage; ++i) {
        const QString picture = navigation.slotPicture(i);
        thumbnails << (picture.isEmpty() ? QString() : thumbnailFileOf(picture));
    }
    if (thumbsPerPage > 0)
        m_kiosk.pictures.prefetch(thumbnails, PictureFit::Inside, m_kiosk.controls.btnThumbnail[1]->size());
    for (int i = 1; i <= thumbsPerPage; ++i) {
        PictureControl* slot = m_kiosk.controls.btnThumbnail[static_cast<size_t>(i)];
        LabelControl* caption =
            m_kiosk.settings.showFileName ? m_kiosk.controls.lblFileName[static_cast<size_t>(i)] : nullptr;
        const QString picture = navigation.slotPicture(i);
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
    emit pageFilled();
}

void Browsing::updatePagingButtons()
{
    const Navigation::PagingButtons usable = m_kiosk.navigation.pagingButtons();
    setControlFace(PrevButton, usable.previous ? QStringLiteral("prev.jpg") : QStringLiteral("-prev.jpg"));
    controlButton(PrevButton)->setEnabled(usable.previous);
    setControlFace(NextButton, usable.next ? QStringLiteral("next.jpg") : QStringLiteral("-next.jpg"));
    controlButton(NextButton)->setEnabled(usable.next);
}

void Browsing::pageForward()
{
    m_kiosk.navigation.pageForward();
    showThumbnailPage();
}

void Browsing::pageBack()
{
    if (m_kiosk.navigation.pageBack())
        showThumbnailPage();
}

void Browsing::thumbnailPress(int slot)
{
    PictureControl* control = m_kiosk.controls.btnThumbnail[static_cast<size_t>(slot)];
    m_kiosk.playClick();
    m_kiosk.resetIdle();
    m_slotFaces[static_cast<size_t>(slot)] = control->picturePath();
    control->setPicturePath(m_kiosk.interfacePath(QStringLiteral("_thumbnail.jpg")));
    yieldToScreen();
    // A page fill or a new list during the yield may have left this slot without a picture.
    if (!m_kiosk.navigation.openDetail(slot))
        return;
    logDetail();
    openDetail();
}

void Browsing::thumbnailRelease(int slot)
{
    m_kiosk.controls.btnThumbnail[static_cast<size_t>(slot)]->setPicturePath(
        m_slotFaces[static_cast<size_t>(slot)]);
}

void Browsing::captionPress(int slot)
{
    thumbnailPress(slot);
    thumbnailRelease(slot);
}

void Browsing::logDetail()
{
    if (m_kiosk.settings.trackingMode == TrackingMode::None)
        return;
    m_kiosk.log.logEvent(trackingText(TrackingEvent::Detail, fileNameOf(m_kiosk.navigation.detailPicture())));
}

void Browsing::openDetail()
{
    PictureControl* big = m_kiosk.controls.bigPicture;
    big->setPicturePath(m_kiosk.navigation.detailPicture());
    big->show();
    big->raise();
    updatePagingButtons();
    emit detailPictureShown();
    setControlFace(CloseButton, QStringLiteral("close.jpg"));
    controlButton(CloseButton)->setEnabled(true);
}

void Browsing::closeDetail()
{
    const bool pageMoved = m_kiosk.navigation.closeDetail();
    if (m_kiosk.settings.printingMode != PrintingMode::None) {
        setControlFace(PrintButton, QStringLiteral("-print.jpg"));
        controlButton(PrintButton)->setEnabled(false);
    }
    m_kiosk.controls.bigPicture->hide();
    setControlFace(CloseButton, QStringLiteral("-close.jpg"));
    controlButton(CloseButton)->setEnabled(false);
    updatePagingButtons();
    if (pageMoved)
        showThumbnailPage();
}

void Browsing::bigPicturePress()
{
    m_kiosk.playClick();
    m_kiosk.resetIdle();
    closeDetail();
}

void Browsing::controlPress(int index)
{
    m_kiosk.playClick();
    m_kiosk.resetIdle();
    switch (index) {
    case NextButton:
        setControlFace(NextButton, QStringLiteral("_next.jpg"));
        yieldToScreen();
        m_kiosk.log.logEvent(trackingText(TrackingEvent::NextButton));
        return m_kiosk.navigation.detailOpen() ? stepDetail(+1) : pageForward();
    case PrevButton:
        setControlFace(PrevButton, QStringLiteral("_prev.jpg"));
        yieldToScreen();
        m_kiosk.log.logEvent(trackingText(TrackingEvent::PrevButton));
        return m_kiosk.navigation.detailOpen() ? stepDetail(-1) : pageBack();
    case CloseButton:
        setControlFace(CloseButton, QStringLiteral("_close.jpg"));
        yieldToScreen();
        m_kiosk.log.logEvent(trackingText(TrackingEvent::CloseButton));
        return closeDetail();
    case PrintButton:
        emit printPressed();
        return;
    case LookupButton:
        emit lookupPressed();
        return;
    default:
        return;
    }
}

void Browsing::stepDetail(int direction)
{
    if (!m_kiosk.navigation.stepDetail(direction)) {
        updatePagingButtons();
        return;
    }
    m_kiosk.controls.bigPicture->setPicturePath(m_kiosk.navigation.detailPicture());
    logDetail();
    updatePagingButtons();
    emit detailPictureShown();
}

void Browsing::menuPress(int number)
{
    LabelControl* button = m_kiosk.controls.btnMenu[static_cast<size_t>(number)];
    m_kiosk.resetIdle();
    m_kiosk.log.logEvent(menuButtonText(number));
    // The pressed face is loaded every time: a menu button has no face cache.
    const QString pressedFace = m_kiosk.interfacePath(QStringLiteral("_btn%1.jpg").arg(number));
    if (fileExists(pressedFace))
        button->setPicturePath(pressedFace);
    button->setCaption(QString());
    yieldToScreen();
    m_kiosk.catalogue.setCurrentCategory(m_kiosk.settings.menuEntries.at(static_cast<size_t>(number)).folder);
    if (m_kiosk.navigation.detailOpen())
        bigPicturePress();
    else
        m_kiosk.playClick();
    m_kiosk.catalogue.scanPictures(ScanKind::Category);
    m_kiosk.navigation.showList(m_kiosk.catalogue.imageList());
    showThumbnailPage();
}

void Browsing::menuRelease(int number)
{
    LabelControl* button = m_kiosk.controls.btnMenu[static_cast<size_t>(number)];
    button->setPicturePath(m_kiosk.interfacePath(QStringLiteral("btn%1.jpg").arg(number)));
    button->setCaption(menuCaptionText(m_kiosk.settings.menuEntries.at(static_cast<size_t>(number)).caption));
    // The names are found without regard to case; the message shows the path as the
    // settings name it.
    const QString& category = m_kiosk.catalogue.currentCategory();
    const QString found = resolveCaseless(m_kiosk.settings.kioskFolderPath, category);
    if (folderExists(found) || fileExists(found))
        return;
    const QString path = joinPath(m_programFolder, joinPath(m_kiosk.settings.kioskFolder, category));
    m_kiosk.services.messages.show(QStringLiteral("Product Directory \"%1\" Does Not Exist").arg(path));
}

} // namespace quindle
