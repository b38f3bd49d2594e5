#pragma once

#include "tracking/TrackingMode.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quindle {

enum class PrintingMode : std::int16_t { None = 0, Jpg = 1, Prn = 2 };

// A font and text colour as a statement gives them to a label. Colours keep the settings
// file's order: the lowest byte is red, the next green, the next blue.
struct TextStyle
{
    QString fontName;
    double pointSize = 0;
    std::uint32_t colour = 0;
    bool bold = false;
    bool italic = false;
};

// The look every menu button starts with, before its statement changes it.
inline TextStyle menuButtonTemplateStyle()
{
    return TextStyle{QStringLiteral("Century Gothic"), 15.75, 0x000000, false, false};
}

// The look of the control buttons' template.
inline TextStyle controlButtonTemplateStyle()
{
    return TextStyle{QStringLiteral("Century Gothic"), 15.75, 0x000000, false, false};
}

// The look of the file-name caption template when no showFileName statement styles it.
inline TextStyle fileNameCaptionTemplateStyle()
{
    return TextStyle{QStringLiteral("MS Sans Serif"), 12, 0x000000, true, false};
}

struct MenuEntry
{
    QString folder;
    QString caption;
    // Placement and look of btnMenu N (the statement never sets its size).
    QPoint position;
    TextStyle style = menuButtonTemplateStyle();
};

// btnControl elements: 1 previous, 2 close, 3 print, 4 next, 5 lookup.
enum ControlButtonIndex : int {
    PrevButton = 1,
    CloseButton = 2,
    PrintButton = 3,
    NextButton = 4,
    LookupButton = 5
};

struct ControlButtonPlacement
{
    bool configured = false;
    QPoint position;
    QString caption; // empty in the 2-field form: the template has no caption
    TextStyle style = controlButtonTemplateStyle();
};

// The look that the showFileName statement gives to the caption template (lblFileName 0).
struct FileNameCaptionStyle
{
    QString positionWord; // the template's Tag: "top" puts captions on the slots' top edges
    int height = 20;
    std::uint32_t background = 0xFFFFFF;
    TextStyle style = fileNameCaptionTemplateStyle();
};

// The settings record: filled once at start-up from the pointer file and the settings
// file, read by every subsystem, never written back.
struct KioskSettings
{
    std::vector<MenuEntry> menuEntries = std::vector<MenuEntry>(1); // index 0 is never used
    bool lookupEnabled = false;
    bool attractEnabled = false;
    bool watchdogEnabled = false;
    bool showFileName = false;
    bool hideMouse = false;
    TrackingMode trackingMode = TrackingMode::None;
    PrintingMode printingMode = PrintingMode::None;
    std::int16_t idleTimeout = 0;
    std::int16_t slideSeconds = 0;
    std::int16_t gridColumns = 0;
    std::int16_t gridRows = 0;
    std::int16_t thumbWidth = 0;
    std::int16_t thumbHeight = 0;
    std::int16_t gridTop = 0;
    std::int16_t gridLeft = 0;
    std::int16_t gridColumnGap = 0;
    std::int16_t gridRowGap = 0;
    std::array<std::int16_t, 4> keyboardButtonLeft{};
    float jpgTop = 0;
    float jpgLeft = 0;
    float jpgWidth = 0;
    float jpgHeight = 0;
    std::array<std::int32_t, 3> rebootTimes{};
    // As the pointer file writes it, relative to the program folder; messages quote it so.
    // It may separate its folders with backslashes: paths are made from kioskFolderPath.
    QString kioskFolder;
    QString kioskFolderPath; // full path of the kiosk folder as found on disk (letter case resolved)
    QString interfaceFolder; // full path of the Interface folder, ending in "/"

    // Where the statements place the window's controls; applied by start-up before the
    // window is shown.
    QString backdropPath; // full path of the backdrop picture; empty without a statement
    std::optional<QRect> detailView;
    std::optional<QPoint> keyboardPosition;
    std::optional<QPoint> keyboardTextPosition;
    std::array<ControlButtonPlacement, 6> controlButtons{}; // index 0 is the template
    FileNameCaptionStyle fileNameCaption;

    int menuEntryCount() const { return static_cast<int>(menuEntries.size()) - 1; }
    bool controlButtonConfigured(int index) const
    {
        return controlButtons.at(static_cast<size_t>(index)).configured;
    }
};

} // namespace quindle
