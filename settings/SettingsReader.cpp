#include "settings/SettingsReader.h"

#include "platform/FileSystem.h"
#include "settings/SettingsMessages.h"
#include "settings/SettingsParser.h"
#include "settings/SettingsText.h"

namespace quindle {

namespace {

const QString pointerFileName = QStringLiteral("quindleFolder.ini");
const QString settingsFileName = QStringLiteral("quindle.ini");

SettingsReport endedWith(const QString& file, int line, const QString& message)
{
    SettingsReport report;
    report.problems.push_back(SettingsProblem{file, line, message});
    return report;
}

// A name holding a NUL character would be cut short by the system and find another file.
bool holdsNul(const QString& name)
{
    return name.contains(QChar(u'\0'));
}

} // namespace

std::optional<QString> pointedKioskFolder(const QString& programFolder)
{
    const std::optional<QByteArray> bytes = readSettingsFile(resolveCaseless(programFolder, pointerFileName));
    if (!bytes)
        return std::nullopt;
    const QString kioskFolder = trimSpaces(splitSettingsLines(decodeSettingsText(*bytes)).value(0));
    if (kioskFolder.isEmpty() || holdsNul(kioskFolder))
        return std::nullopt;
    const QString kioskPath = resolveCaseless(programFolder, withForwardSlashes(kioskFolder));
    if (!folderExists(kioskPath))
        return std::nullopt;
    return kioskPath;
}

SettingsReader::SettingsReader(QString programFolder) : m_programFolder(std::move(programFolder)) {}

SettingsResult SettingsReader::read() const
{
    SettingsReport report = readWith(ProblemHandling::StopAtFirst);
    if (!report.ok())
        return SettingsResult{std::nullopt, report.problems.front().message};
    return SettingsResult{std::move(report.settings), {}};
}

SettingsReport SettingsReader::readAll() const
{
    return readWith(ProblemHandling::CollectAll);
}

// The files are found in a fixed order, and a missing one ends the reading at once: there
// is nothing behind it to check.
SettingsReport SettingsReader::readWith(ProblemHandling handling) const
{
    const QString pointerPath = resolveCaseless(m_programFolder, pointerFileName);
    if (!fileExists(pointerPath))
        return endedWith(pointerPath, 0, missingPointerFileMessage());
    const std::optional<QByteArray> pointerBytes = readSettingsFile(pointerPath);
    if (!pointerBytes)
        return endedWith(pointerPath, 0, unreadablePointerFileMessage());

    // Only the first line names the kiosk folder; anything below it is the owner's.
    const QString kioskFolder = trimSpaces(splitSettingsLines(decodeSettingsText(*pointerBytes)).value(0));
    if (kioskFolder.isEmpty())
        return endedWith(pointerPath, 1, emptyPointerFileMessage());
    const QString kioskPath = resolveCaseless(m_programFolder, withForwardSlashes(kioskFolder));
    if (holdsNul(kioskFolder) || !folderExists(kioskPath))
        return endedWith(pointerPath, 1, missingKioskFolderMessage(kioskFolder));

    SettingsReport report;
    report.settings.kioskFolder = kioskFolder;
    report.settings.kioskFolderPath = kioskPath;
    report.settings.interfaceFolder = joinPath(resolveCaseless(kioskPath, QStringLiteral("Interface")), {});

    const QString settingsPath = resolveCaseless(kioskPath, settingsFileName);
    if (!fileExists(settingsPath))
        return endedWith(settingsPath, 0, missingSettingsFileMessage(kioskFolder));
    const std::optional<QByteArray> settingsBytes = readSettingsFile(settingsPath);
    if (!settingsBytes)
        return endedWith(settingsPath, 0, unreadableSettingsFileMessage(kioskFolder));

    return readSettingsBytes(*settingsBytes, std::move(report.settings), settingsPath, handling);
}

std::optional<QString> findInterfaceFileOnDisk(const QString& interfaceFolder, const QString& name)
{
    const QString path = resolveCaseless(interfaceFolder, withForwardSlashes(name));
    if (!fileExists(path))
        return std::nullopt;
    return path;
}

SettingsReport readSettingsBytes(const QByteArray& bytes, KioskSettings settings, const QString& settingsFile,
                                 ProblemHandling handling, const InterfaceFileFinder& findInterfaceFile)
{
    return readSettingsText(decodeSettingsText(bytes), std::move(settings), settingsFile, handling,
                            findInterfaceFile);
}

SettingsReport readSettingsText(QStringView text, KioskSettings settings, const QString& settingsFile,
                                ProblemHandling handling, const InterfaceFileFinder& findInterfaceFile)
{
    SettingsReport report;
    report.settings = std::move(settings);
    SettingsParser parser(report.settings, settingsFile, handling, findInterfaceFile);
    parser.readLines(text);
    report.problems = parser.problems();
    return report;
}

} // namespace quindle
