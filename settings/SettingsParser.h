#pragma once

#include "settings/KioskSettings.h"
#include "settings/SettingsReader.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace quindle {

class StatementFields;

// Carries out the statements of the settings file, line by line, into the settings
// record, and then checks what only the whole file can show (menu numbers without a
// gap, the control buttons that browsing needs).
class SettingsParser
{
public:
    // The record must already hold interfaceFolder, below which findInterfaceFile looks up
    // backdrop names; settingsFile is the path the problems name.
    SettingsParser(KioskSettings& settings, QString settingsFile, ProblemHandling handling,
                   InterfaceFileFinder findInterfaceFile);
    // The key handlers hold this parser.
    SettingsParser(const SettingsParser&) = delete;
    SettingsParser& operator=(const SettingsParser&) = delete;

    // Reads the file's text, which must outlive the parser: statements kept from one line
    // to the next look into it.
    void readLines(QStringView text);
    const std::vector<SettingsProblem>& problems() const { return m_problems; }

private:
    struct Statement
    {
        // Both look into the file's text, which outlives the reading.
        QStringView key; // as written in the file, trimmed of spaces
        QStringView value;
        int line = 0;
    };
    using Handler = void (*)(SettingsParser&, const Statement&);
    struct KeyHandler
    {
        KeyHandler(const char* name, Handler run) : key(name), handler(run) {}

        QLatin1StringView key;
        Handler handler;
    };

    static const std::vector<KeyHandler>& handlers();
    static Handler handlerFor(QStringView key);
    void readLine(QStringView line, int lineNumber);
    bool stopped() const;
    void report(int line, const QString& message);
    void refuse(const Statement& statement, QLatin1StringView firstLine, QStringView writtenKey);
    void refuse(const Statement& statement, QLatin1StringView firstLine);

    // Layout statements.
    void readMenuButton(const Statement& statement);
    void resizeMenuEntries(int count);
    void readGrid(const Statement& statement);
    void readDetailView(const Statement& statement);
    void readShowFileName(const Statement& statement);

    // Control-button and keyboard statements.
    void readControlButton(const Statement& statement, int index);
    void readKeyboardPlace(const Statement& statement, std::optional<QPoint>& place, const char* firstLine);
    void readKeyboardButtons(const Statement& statement);

    // Simple options.
    void readBoolean(const Statement& statement, bool& target);
    void readWholeNumber(const Statement& statement, std::int16_t& target);
    void readReal(const Statement& statement, float& target);
    void readRebootTime(const Statement& statement, int index);
    void readPrinting(const Statement& statement);
    void readTracking(const Statement& statement);
    void readBackdrop(const Statement& statement);

    // Checks once the whole file is read.
    void checkWholeFile();
    void checkMenuNumbers();
    void checkControlButton(int index, const QString& message);
    void checkPrintButton();

    KioskSettings& m_settings;
    QString m_settingsFile;
    ProblemHandling m_handling;
    InterfaceFileFinder m_findInterfaceFile;
    std::vector<SettingsProblem> m_problems;

    // A button element is created once per run, even when a lower statement later drops
    // its menu entry again; the line of each entry's statement runs beside menuEntries.
    std::array<bool, 10> m_menuButtonCreated{};
    std::vector<int> m_menuEntryLines = std::vector<int>(1);
    Statement m_lastMenuStatement;
    std::array<bool, 6> m_controlStatementSeen{};
    std::optional<Statement> m_printingStatement;
};

} // namespace quindle
