#include "settings/SettingsParser.h"

#include "platform/FileSystem.h"
#include "settings/SettingsMessages.h"
#include "settings/SettingsText.h"
#include "settings/StatementFields.h"
#include "settings/ValueConversions.h"

namespace quindle {

namespace {

constexpr int valueLength = 100;

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

bool isMenuButtonKey(QStringView key)
{
    return key.size() == 4 && key.startsWith(QLatin1String("btn"), Qt::CaseInsensitive);
}

} // namespace

SettingsParser::SettingsParser(KioskSettings& settings, QString settingsFile, ProblemHandling handling)
    : m_settings(settings), m_settingsFile(std::move(settingsFile)), m_handling(handling)
{
    m_menuEntryLines.resize(m_settings.menuEntries.size());
    addHandlers();
}

// The keys in the order they are compared; menu buttons are recognised before all of them.
void SettingsParser::addHandlers()
{
    // Made for every reading, so nothing here allocates but the table itself.
    m_handlers.reserve(26);
    KioskSettings& s = m_settings;
    const auto add = [this](const char* key, Handler handler) {
        m_handlers.emplace_back(QLatin1StringView(key), std::move(handler));
    };
    add("grid", [this](const Statement& st) { readGrid(st); });
    add("keyboard", [this, &s](const Statement& st) {
        readKeyboardPlace(st, s.keyboardPosition, "You have an improper keyboard format statement:");
    });
    add("keyboardText", [this, &s](const Statement& st) {
        readKeyboardPlace(st, s.keyboardTextPosition, "You have an improper keyboardText statement:");
    });
    addControlButton("next", NextButton);
    addControlButton("prev", PrevButton);
    addControlButton("close", CloseButton);
    addControlButton("print", PrintButton);
    addControlButton("lookup", LookupButton);
    add("detailView", [this](const Statement& st) { readDetailView(st); });
    add("keyboardButtons", [this](const Statement& st) { readKeyboardButtons(st); });
    add("attract", [this, &s](const Statement& st) { readBoolean(st, s.attractEnabled); });
    add("hideMouse", [this, &s](const Statement& st) { readBoolean(st, s.hideMouse); });
    add("timeout", [this, &s](const Statement& st) { readWholeNumber(st, s.idleTimeout); });
    add("attractTimer", [this, &s](const Statement& st) { readWholeNumber(st, s.slideSeconds); });
    add("printing", [this](const Statement& st) { readPrinting(st); });
    add("backdrop", [this](const Statement& st) { readBackdrop(st); });
    add("jpgTop", [this, &s](const Statement& st) { readReal(st, s.jpgTop); });
    add("jpgLeft", [this, &s](const Statement& st) { readReal(st, s.jpgLeft); });
    add("jpgWidth", [this, &s](const Statement& st) { readReal(st, s.jpgWidth); });
    add("jpgHeight", [this, &s](const Statement& st) { readReal(st, s.jpgHeight); });
    add("tracking", [this](const Statement& st) { readTracking(st); });
    add("reboot1", [this](const Statement& st) { readRebootTime(st, 0); });
    add("reboot2", [this](const Statement& st) { readRebootTime(st, 1); });
    add("reboot3", [this](const Statement& st) { readRebootTime(st, 2); });
    add("usbResetCard", [this, &s](const Statement& st) { readBoolean(st, s.watchdogEnabled); });
    add("showFileName", [this](const Statement& st) { readShowFileName(st); });
}

void SettingsParser::addControlButton(const char* key, int index)
{
    m_handlers.emplace_back(QLatin1StringView(key),
                            [this, index](const Statement& st) { readControlButton(st, index); });
}

void SettingsParser::readLines(const QList<QStringView>& lines)
{
    for (qsizetype i = 0; i < lines.size() && !stopped(); ++i)
        readLine(lines[i], static_cast<int>(i + 1));
    if (!stopped())
        checkWholeFile();
}

void SettingsParser::readLine(QStringView line, int lineNumber)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return;
    const QStringView key = trimmedOfSpaces(line.first(equals));
    // Only the first 100 characters after "=" count; menu buttons keep them untrimmed,
    // because their style word is compared as written.
    const QStringView value = firstCharacterView(line.sliced(equals + 1), valueLength);
    if (isMenuButtonKey(key))
        return readMenuButton(Statement{key.toString(), value.toString(), lineNumber});
    const Handler* handler = handlerFor(key);
    if (!handler)
        return;
    (*handler)(Statement{key.toString(), trimmedOfSpaces(value).toString(), lineNumber});
}

const SettingsParser::Handler* SettingsParser::handlerFor(QStringView key) const
{
    for (const auto& [name, handler] : m_handlers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return &handler;
    }
    return nullptr;
}

bool SettingsParser::stopped() const
{
    return m_handling == ProblemHandling::StopAtFirst && !m_problems.empty();
}

void SettingsParser::report(int line, const QString& message)
{
    m_problems.push_back(SettingsProblem{m_settingsFile, line, message});
}

void SettingsParser::refuse(const Statement& statement, const QString& firstLine, const QString& writtenKey)
{
    report(statement.line, improperStatementMessage(firstLine, writtenKey, statement.value));
}

void SettingsParser::refuse(const Statement& statement, const QString& firstLine)
{
    refuse(statement, firstLine, statement.key);
}

// --- Layout statements -------------------------------------------------------------------

void SettingsParser::readMenuButton(const Statement& statement)
{
    const QChar digit = statement.key.at(3);
    const QString writtenKey = QStringLiteral("btn") + digit; // always lower case in its message
    if (digit < QLatin1Char('1') || digit > QLatin1Char('9'))
        return refuse(statement, latin("You have a menu button statement whose number is not 1 to 9:"),
                      writtenKey);
    const int number = digit.unicode() - u'0';
    if (m_menuButtonCreated[static_cast<size_t>(number)])
        return refuse(statement, latin("You have a second statement for the same menu button:"), writtenKey);
    m_menuButtonCreated[static_cast<size_t>(number)] = true;
    resizeMenuEntries(number);
    m_menuEntryLines[static_cast<size_t>(number)] = statement.line;
    m_lastMenuStatement = Statement{writtenKey, statement.value, statement.line};

    const int commas = countCommas(statement.value);
    if (commas != 2 && commas != 7)
        return refuse(statement, latin("You have an improper button format statement:"), writtenKey);
    StatementFields fields(statement.value);
    MenuEntry entry;
    entry.folder = fields.folderName(1);
    entry.position = QPoint(fields.pixels(2), fields.pixels(3));
    if (commas == 7) {
        entry.caption = fields.text(4);
        entry.style.fontName = fields.text(5);
        entry.style.pointSize = fields.points(6);
        entry.style.colour = fields.colour(7);
        applyStyleWord(entry.style, fields.rawText(8));
    }
    if (fields.failed())
        return refuse(statement, fields.failure(), writtenKey);
    m_settings.menuEntries[static_cast<size_t>(number)] = entry;
}

// The menu has as many entries as the number of the last menu statement: a lower number
// drops the entries above it.
void SettingsParser::resizeMenuEntries(int count)
{
    const auto size = static_cast<size_t>(count) + 1;
    m_settings.menuEntries.resize(size);
    m_menuEntryLines.resize(size);
}

void SettingsParser::readGrid(const Statement& statement)
{
    const QString writtenKey = QStringLiteral("grid");
    if (countCommas(statement.value) != 7)
        return refuse(statement, latin("You have an improper grid format statement:"), writtenKey);
    StatementFields fields(statement.value);
    const std::int16_t columns = fields.wholeNumber(1);
    const std::int16_t rows = fields.wholeNumber(2);
    const std::int16_t width = fields.wholeNumber(3);
    const std::int16_t height = fields.wholeNumber(4);
    const std::int16_t left = fields.wholeNumber(5);
    const std::int16_t top = fields.wholeNumber(6);
    const std::int16_t columnGap = fields.wholeNumber(7);
    const std::int16_t rowGap = fields.wholeNumber(8);
    if (fields.failed())
        return refuse(statement, fields.failure(), writtenKey);
    if (columns < 0 || rows < 0)
        return refuse(statement, latin("You have a grid with a negative number of columns or rows:"),
                      writtenKey);
    // Slots are counted in 16 bits on the screen side.
    if (columns * rows > 32767)
        return refuse(statement, latin("You have a grid with more than 32767 thumbnails on a page:"),
                      writtenKey);
    m_settings.gridColumns = columns;
    m_settings.gridRows = rows;
    m_settings.thumbWidth = width;
    m_settings.thumbHeight = height;
    m_settings.gridLeft = left;
    m_settings.gridTop = top;
    m_settings.gridColumnGap = columnGap;
    m_settings.gridRowGap = rowGap;
}

void SettingsParser::readDetailView(const Statement& statement)
{
    if (countCommas(statement.value) != 3)
        return refuse(statement, latin("You have an improper detailView statement:"));
    StatementFields fields(statement.value);
    const QRect frame(fields.pixels(1), fields.pixels(2), fields.pixels(3), fields.pixels(4));
    if (fields.failed())
        return refuse(statement, fields.failure());
    m_settings.detailView = frame;
}

void SettingsParser::readShowFileName(const Statement& statement)
{
    const int commas = countCommas(statement.value);
    // Without any comma the statement carries nothing, and the captions stay off.
    if (commas == 0)
        return;
    if (commas != 6)
        return refuse(statement, latin("You have an improper showFileName statement:"));
    StatementFields fields(statement.value);
    // Starts from the caption's present look: a style word only ever adds bold or italic.
    FileNameCaptionStyle caption = m_settings.fileNameCaption;
    caption.positionWord = fields.text(1);
    caption.height = fields.pixels(2);
    caption.background = fields.colour(3);
    caption.style.fontName = fields.text(4);
    caption.style.pointSize = fields.points(5);
    caption.style.colour = fields.colour(6);
    applyStyleWord(caption.style, fields.rawText(7));
    if (fields.failed())
        return refuse(statement, fields.failure());
    m_settings.showFileName = true;
    m_settings.fileNameCaption = caption;
}

// --- Control-button and keyboard statements ------------------------------------------------

void SettingsParser::readControlButton(const Statement& statement, int index)
{
    const int commas = countCommas(statement.value);
    if (commas != 1 && commas != 6)
        return refuse(statement, latin("You have an improper control button format statement:"));
    if (index == LookupButton)
        m_settings.lookupEnabled = true;
    const auto slot = static_cast<size_t>(index);
    if (m_controlStatementSeen[slot])
        return refuse(statement, latin("You have a second statement for the same control button:"));
    m_controlStatementSeen[slot] = true;

    StatementFields fields(statement.value);
    ControlButtonPlacement button;
    button.configured = true;
    button.position = QPoint(fields.pixels(1), fields.pixels(2));
    if (commas == 6) {
        button.caption = fields.text(3);
        button.style.fontName = fields.text(4);
        button.style.pointSize = fields.points(5);
        button.style.colour = fields.colour(6);
        applyStyleWord(button.style, fields.rawText(7));
    }
    if (fields.failed())
        return refuse(statement, fields.failure());
    m_settings.controlButtons[slot] = button;
}

void SettingsParser::readKeyboardPlace(const Statement& statement, std::optional<QPoint>& place,
                                       const char* firstLine)
{
    if (countCommas(statement.value) != 1)
        return refuse(statement, latin(firstLine));
    StatementFields fields(statement.value);
    const QPoint position(fields.wholeNumber(1), fields.wholeNumber(2));
    if (fields.failed())
        return refuse(statement, fields.failure());
    place = position;
}

void SettingsParser::readKeyboardButtons(const Statement& statement)
{
    const QString writtenKey = QStringLiteral("keyboardButtons");
    if (countCommas(statement.value) != 3)
        return refuse(statement, latin("You have an improper keyboardButtons statement:"), writtenKey);
    StatementFields fields(statement.value);
    std::array<std::int16_t, 4> lefts{};
    for (size_t i = 0; i < lefts.size(); ++i)
        lefts[i] = fields.wholeNumber(static_cast<int>(i) + 1);
    if (fields.failed())
        return refuse(statement, fields.failure(), writtenKey);
    m_settings.keyboardButtonLeft = lefts;
}

// --- Simple options ------------------------------------------------------------------------

void SettingsParser::readBoolean(const Statement& statement, bool& target)
{
    const Converted<bool> converted = toBoolean(statement.value);
    if (!converted.ok())
        return refuse(statement, converted.failure);
    target = converted.value;
}

void SettingsParser::readWholeNumber(const Statement& statement, std::int16_t& target)
{
    const Converted<std::int16_t> converted = toWholeNumber(statement.value);
    if (!converted.ok())
        return refuse(statement, converted.failure);
    target = converted.value;
}

void SettingsParser::readReal(const Statement& statement, float& target)
{
    const Converted<float> converted = toReal(statement.value);
    if (!converted.ok())
        return refuse(statement, converted.failure);
    target = converted.value;
}

void SettingsParser::readRebootTime(const Statement& statement, int index)
{
    const Converted<std::int32_t> converted = toRebootTime(statement.value);
    if (!converted.ok())
        return refuse(statement, converted.failure);
    m_settings.rebootTimes[static_cast<size_t>(index)] = converted.value;
}

// An unknown word is no fault: it switches printing off.
void SettingsParser::readPrinting(const Statement& statement)
{
    m_printingStatement = statement;
    const QString& word = statement.value;
    m_settings.printingMode = PrintingMode::None;
    if (word.compare(QLatin1String("JPG"), Qt::CaseInsensitive) == 0)
        m_settings.printingMode = PrintingMode::Jpg;
    if (word.compare(QLatin1String("PRN"), Qt::CaseInsensitive) == 0)
        m_settings.printingMode = PrintingMode::Prn;
}

// An unknown word is no fault: it switches tracking off.
void SettingsParser::readTracking(const Statement& statement)
{
    const QString& word = statement.value;
    m_settings.trackingMode = TrackingMode::None;
    if (word.compare(QLatin1String("daily"), Qt::CaseInsensitive) == 0)
        m_settings.trackingMode = TrackingMode::Daily;
    if (word.compare(QLatin1String("monthly"), Qt::CaseInsensitive) == 0)
        m_settings.trackingMode = TrackingMode::Monthly;
}

void SettingsParser::readBackdrop(const Statement& statement)
{
    const QString path = resolveCaseless(m_settings.interfaceFolder, withForwardSlashes(statement.value));
    // A name with a NUL character would be cut short by the system and find another file.
    if (statement.value.contains(QChar(u'\0')) || !fileExists(path)) {
        return refuse(statement, latin("Cannot locate the file indicated in your backdrop statement:"),
                      QStringLiteral("backdrop"));
    }
    m_settings.backdropPath = path;
}

// --- Whole-file checks ---------------------------------------------------------------------

// Browsing needs a first category and the buttons that page through it and leave the
// detail view; start-up would otherwise run with controls that do not exist.
void SettingsParser::checkWholeFile()
{
    const std::array<std::function<void()>, 5> checks = {
        [this] { checkMenuNumbers(); },
        [this] { checkControlButton(PrevButton, "prev", "previous"); },
        [this] { checkControlButton(CloseButton, "close", "close"); },
        [this] { checkPrintButton(); },
        [this] { checkControlButton(NextButton, "next", "next"); },
    };
    for (const auto& check : checks) {
        if (stopped())
            return;
        check();
    }
}

void SettingsParser::checkMenuNumbers()
{
    if (m_settings.menuEntryCount() < 1) {
        return report(0, settingsFileMessage(latin("Your \"quindle.ini\" file has no menu button statement - "
                                                   "at least \"btn1\" is needed.")));
    }
    for (size_t number = 1; number < m_menuEntryLines.size(); ++number) {
        if (m_menuEntryLines[number] != 0)
            continue;
        const QString firstLine =
            QStringLiteral("You have a menu button statement, but no \"btn%1\" statement "
                           "before it:")
                .arg(number);
        return refuse(m_lastMenuStatement, firstLine);
    }
}

void SettingsParser::checkControlButton(int index, const char* key, const char* role)
{
    if (m_controlStatementSeen[static_cast<size_t>(index)])
        return;
    report(0, settingsFileMessage(QStringLiteral("Your \"quindle.ini\" file has no \"%1\" statement - the %2 "
                                                 "button is needed.")
                                      .arg(latin(key), latin(role))));
}

void SettingsParser::checkPrintButton()
{
    if (m_settings.printingMode == PrintingMode::None || m_controlStatementSeen[PrintButton])
        return;
    refuse(*m_printingStatement, latin("You switch printing on, but have no \"print\" statement for the "
                                       "print button:"));
}

} // namespace quindle
