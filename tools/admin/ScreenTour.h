#pragma once

#include "platform/Clock.h"
#include "platform/Services.h"
#include "shell/KioskWindow.h"
#include "tools/admin/LayoutCheck.h"
#include "tools/admin/PreviewServices.h"

#include <QImage>
#include <QRect>
#include <QStringList>
#include <vector>

namespace quindle::admin {

// One screen as a visitor sees it, at the backdrop's size.
struct ScreenPicture
{
    QString file; // "category-2.png"
    QString title;
    QImage image;
};

// Drives the kiosk's own window, started in its preview mode, through the screens a visitor
// can reach, as a visitor would, and keeps a picture of each and where the controls lie.
class ScreenTour
{
public:
    explicit ScreenTour(const QString& programFolder);

    // lines: the settings file's, for the statements that place the controls.
    void run(const QStringList& lines);

    const std::vector<ScreenPicture>& screens() const { return m_screens; }
    // The start screen, which the layout picture is drawn over.
    const QImage& startScreen() const { return m_screens.front().image; }
    const std::vector<PlacedControl>& placed() const { return m_placed; }
    QSize backdropSize() const { return m_window.size(); }
    // Where the open keyboard's frame lies; empty when the keyboard was not opened.
    QRect keyboardFrame() const { return m_keyboardFrame; }
    // The messages the kiosk showed in a box on the way.
    QStringList takeMessages() { return m_messages.takeShown(); }

private:
    void placeScreenControls();
    QImage grab();
    void keep(const QString& file, const QString& title);
    void showCategories();
    void showDetail();
    void typeSample();
    void showKeyboard();
    void placeKeyboard();
    void showAttract();

    SystemClock m_clock;
    PreviewMessages m_messages;
    SilentClickSound m_sound;
    DetachedMachine m_machine;
    Services m_services;
    KioskWindow m_window;
    QStringList m_lines;
    QString m_firstPicture;
    QRect m_keyboardFrame;
    std::vector<PlacedControl> m_placed;
    std::vector<ScreenPicture> m_screens;
};

} // namespace quindle::admin
