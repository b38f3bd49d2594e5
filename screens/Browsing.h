#pragma once

#include "screens/KioskContext.h"

#include <QObject>
#include <QString>
#include <functional>

namespace quindle {

// The browsing screens: the menu buttons, the thumbnail page with its paging, the detail
// view with the control buttons, and the opening of the on-screen keyboard. The screen
// state is never stored: the detail view is open exactly while bigPicture is visible.
class Browsing : public QObject
{
    Q_OBJECT

public:
    Browsing(const KioskContext& kiosk, QString programFolder);

    // The print button's own work, supplied by the printing part.
    std::function<void()> updatePrintButton = [] {
    };
    std::function<void()> printPress = [] {
    };

    // Connects the presses and releases of the controls that exist after start-up.
    void connectControls();

    void prepareControlButtons();
    void openFirstCategory();

    void showThumbnailPage();
    void updatePagingButtons();
    void pageForward();
    void pageBack();

    void thumbnailPress(int slot);
    void thumbnailRelease(int slot);
    void captionPress(int slot);

    bool detailOpen() const;
    void openDetail();
    void closeDetail();
    void bigPicturePress();

    void controlPress(int index);
    void menuPress(int number);
    void menuRelease(int number);

    void openKeyboard();
    // Waits while the control's Notify is set, yielding to screen events; gives up after
    // two seconds so that a picture that never reports cannot hang the kiosk.
    void waitUntilShown(PictureControl& control);

    void playClick();

private:
    LabelControl* controlButton(int index) const;
    void setControlFace(int index, const QString& face);
    void stepDetail(int direction);
    void logDetail();
    QString pictureAt(int position) const;
    QString interfacePath(const QString& fileName) const;

    KioskContext m_kiosk;
    QString m_programFolder;
    // Each page fill takes a number; a fill that finds a newer one started at one of its
    // yields leaves the rest of the page to it.
    unsigned m_fillNumber = 0;
};

// The thumbnail shown for a picture: "_" + its file name beside it when that exists,
// else the picture itself.
QString thumbnailFileOf(const QString& picturePath);

// The caption of a picture: its file name without the last four characters (".jpg").
QString captionTextOf(const QString& picturePath);

} // namespace quindle
