#pragma once

#include "tools/admin/KioskCheck.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <utility>
#include <vector>

namespace quindle::admin {

// What a placed control is: which others it may not overlap follows from it. The screen's
// controls share the window; the detail view lies over the grid on purpose but must leave
// the control buttons free; the keyboard's parts share only the open keyboard.
enum class ControlKind { MenuButton, Grid, ControlButton, DetailView, Keyboard };

// A control where the kiosk's start-up put it, in backdrop pixels.
struct PlacedControl
{
    QString name; // the settings key that places it: "btn3", "grid", "keyboardButtons (search)"
    int line = 0; // of that statement, from 1; 0 when none
    QRect rect;
    ControlKind kind = ControlKind::MenuButton;
    QString caption; // as the button draws it, line breaks included; empty when none
    QFont font;
};

// "btn3 (line 8)", or the name alone without a line.
QString labelOf(const PlacedControl& control);

// The pairs of controls (indexes into controls) that get in each other's way: two of the
// screen's controls or two of the keyboard's that overlap, and the detail view over a
// control button.
std::vector<std::pair<size_t, size_t>> conflictsOf(const std::vector<PlacedControl>& controls);

// Every layout problem, as warnings on the settings file: conflicts, controls partly or
// wholly outside the backdrop, a grid larger than it, captions that do not fit their button,
// parts of the keyboard that its frame (where it lies in the window) cuts off.
std::vector<Finding> checkLayout(const std::vector<PlacedControl>& controls, QSize backdrop,
                                 const QRect& keyboardFrame, const QString& settingsFile);

} // namespace quindle::admin
