#pragma once

#include "screens/KioskContext.h"

#include <QObject>
#include <QString>
#include <vector>

namespace quindle {

// The browsing screens: the menu buttons, the thumbnail page with its paging, and the
// detail view with the control buttons. They show what the navigation model says and
// move it on as the visitor presses.
class Browsing : public QObject
{
    Q_OBJECT

public:
    Browsing(const KioskContext& kiosk, QString programFolder);

    // Connects the presses and releases of the controls that exist after start-up.
    void connectControls();

    void prepareControlButtons();
    // Makes a menu entry's category current, scans it and shows its first page.
    void openCategory(int menuNumber);

    void showThumbnailPage();
    void updatePagingButtons();
    void pageForward();
    void pageBack();

    void thumbnailPress(int slot);
    void thumbnailRelease(int slot);
    void captionPress(int slot);

    void openDetail();
    void closeDetail();
    void bigPicturePress();

    void controlPress(int index);
    void menuPress(int number);
    void menuRelease(int number);

signals:
    // A thumbnail page is filled to its last slot.
    void pageFilled();
    // The detail view shows another picture: the print button follows it.
    void detailPictureShown();
    void printPressed();
    void lookupPressed();

private:
    LabelControl* controlButton(int index) const;
    void setControlFace(int index, const QString& face);
    void stepDetail(int direction);
    void logDetail();

    KioskContext m_kiosk;
    QString m_programFolder;
    // Each page fill takes a number; a fill that finds a newer one started at one of its
    // yields leaves the rest of the page to it.
    unsigned m_fillNumber = 0;
    // What each thumbnail slot showed before its press put the pressed face on it.
    std::vector<QString> m_slotFaces;
};

// The thumbnail shown for a picture: "_" + its file name beside it when that exists
// (its name matched without regard to case), else the picture itself.
QString thumbnailFileOf(const QString& picturePath);

// The caption of a picture: its file name without the last four characters (".jpg").
QString captionTextOf(const QString& picturePath);

// A menu caption as its button shows it: every underscore becomes a line break.
QString menuCaptionText(const QString& caption);

} // namespace quindle
