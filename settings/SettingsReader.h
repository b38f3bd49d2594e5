#pragma once

#include "settings/KioskSettings.h"

#include <QString>
#include <optional>

namespace quindle {

// The outcome of reading the two settings files: the filled record, or the message with
// which start-up must end (exactly as the owner is to read it).
struct SettingsResult
{
    std::optional<KioskSettings> settings;
    QString message;

    bool ok() const { return settings.has_value(); }
};

// Reads the pointer file "quindleFolder.ini" in the program folder and the settings file
// "quindle.ini" of the kiosk folder it names.
class SettingsReader
{
public:
    explicit SettingsReader(QString programFolder);
    SettingsResult read() const;

private:
    QString m_programFolder;
};

} // namespace quindle
