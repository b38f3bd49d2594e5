#pragma once

#include "settings/KioskSettings.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quindle {

// The outcome of reading the two settings files: the filled record, or the message with
// which start-up must end (exactly as the owner is to read it).
struct SettingsResult
{
    std::optional<KioskSettings> settings;
    QString message;

    bool ok() const { return settings.has_value(); }
};

// One thing wrong in the settings files: the file's full path, the line it stands on
// (from 1; 0 for the file as a whole) and the message the kiosk would end with.
struct SettingsProblem
{
    QString file;
    int line = 0;
    QString message;
};

// The kiosk stops at the first problem; an owner's check reads on and lists them all.
enum class ProblemHandling { StopAtFirst, CollectAll };

// Every problem of the settings files at once, with the record as far as it could be
// filled (statements that were refused leave their fields alone).
struct SettingsReport
{
    KioskSettings settings;
    std::vector<SettingsProblem> problems;

    bool ok() const { return problems.empty(); }
};

// Finds a file that a statement names below the Interface folder, without regard to case:
// its full path, or nothing when there is no such file.
using InterfaceFileFinder =
    std::function<std::optional<QString>(const QString& interfaceFolder, const QString& name)>;

// The finder the kiosk uses: the file as it lies on the disk.
std::optional<QString> findInterfaceFileOnDisk(const QString& interfaceFolder, const QString& name);

// Carries out the contents of a settings file on a record that already holds the kiosk
// folder and its Interface folder; settingsFile is the path the problems name. The reader
// below hands it the bytes of "quindle.ini".
SettingsReport readSettingsBytes(const QByteArray& bytes, KioskSettings settings, const QString& settingsFile,
                                 ProblemHandling handling,
                                 const InterfaceFileFinder& findInterfaceFile = findInterfaceFileOnDisk);
// The same, on the file's text once decoded.
SettingsReport readSettingsText(QStringView text, KioskSettings settings, const QString& settingsFile,
                                ProblemHandling handling, const InterfaceFileFinder& findInterfaceFile);

// The full path of the kiosk folder the pointer file of a program folder names now, when
// the file can be read and the folder is there; nothing otherwise.
std::optional<QString> pointedKioskFolder(const QString& programFolder);

// Reads the pointer file "quindleFolder.ini" in the program folder and the settings file
// "quindle.ini" of the kiosk folder it names. Pure logic: it shows nothing and ends
// nothing; start-up shows the message and ends.
class SettingsReader
{
public:
    explicit SettingsReader(QString programFolder);

    // The kiosk's reading: stops at the first problem, as start-up ends with it.
    SettingsResult read() const;
    // An owner's check: reads on past problems and reports all of them.
    SettingsReport readAll() const;

private:
    SettingsReport readWith(ProblemHandling handling) const;

    QString m_programFolder;
};

} // namespace quindle
