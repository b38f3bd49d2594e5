#include "settings/SettingsParser.h"

#include "settings/SettingsMessages.h"
#include "settings/SettingsText.h"
#include "settings/StatementFields.h"
#include "settings/ValueConversions.h"

namespace quindle {

namespace {

constexpr int valueLength = 100;

// The owner's messages are plain ASCII; a view of one costs nothing until a problem is reported.
QLatin1StringView latin(const char* text)
{
    return QLatin1StringView(text);
}

QString missingControlButtonMessage(const char* key, const char* role)
{
    return settingsFileMessage(QStringLiteral("Your \"quindle.ini\" file has no \"%1\" statement - the %2 "
                                              "button is needed.")
                                   .arg(latin(key), latin(role)));
}

// Made once, at the first reading: a file still being written lacks them at every reading.
const QString& noPrevMessage()
{
    static const QString message = missingControlButtonMessage("prev", "previous");
    return message;
}

const QString& noCloseMessage()
{
    static const QString message = missingControlButtonMessage("close", "close");
    return message;
}

const QString& noNextMessage()
{
    static const QString message = missingControlButtonMessage("next", "next");
    return message;
}

// A menu button's key is always written in lower case in its message.
QString menuButtonKey(QStringView writtenKey)
{
    return QStringLiteral("btn") + writtenKey.at(3);
}

bool isMenuButtonKey(QStringView key)
{
    return key.size() == 4 && key.startsWith(QLatin1String("btn"), Qt::CaseInsensitive);
}

} // namespace

SettingsParser::SettingsParser(KioskSettings& settings, QString settingsFile, ProblemHandling handling,
                               InterfaceFileFinder findInterfaceFile)
    : m_settings(settings), m_settingsFile(std::move(settingsFile)), m_handling(handling),
      m_findInterfaceFile(std::move(findInterfaceFile))
{
    m_menuEntryLines.resize(m_settings.menuEntries.size());
    // A file being written holds a few problems at once; the kiosk stops at the first.
    m_problems.reserve(m_handling == ProblemHandling::StopAtFirst ? 1 : 8);
}

// The keys in the order they are compared; menu buttons are recognised before all of them.
// One table for every reading: a reading makes nothing of it.
const std::vector<SettingsParser::KeyHandler>& SettingsParser::handlers()
{
    using P = SettingsParser;
    using S = Statement;
    static const std::vector<KeyHandler> table = {
        {"grid",
         [](P& p, const S& st) {
             p.readGrid(st);
         }},
        {"keyboard",
         [](P& p, const S& st) {
             p.readKeyboardPlace(st, p.m_settings.keyboardPosition,
                                 "You have an improper keyboard format statement:");
         }},
        {"keyboardText",
         [](P& p, const S& st) {
             p.readKeyboardPlace(st, p.m_settings.keyboardTextPosition,
                                 "You have an improper keyboardText statement:");
         }},
        {"next",
         [](P& p, const S& st) {
             p.readControlButton(st, NextButton);
         }},
        {"prev",
         [](P& p, const S& st) {
             p.readControlButton(st, PrevButton);
         }},
        {"close",
         [](P& p, const S& st) {
             p.readControlButton(st, CloseButton);
         }},
        {"print",
         [](P& p, const S& st) {
             p.readControlButton(st, PrintButton);
         }},
        {"lookup",
         [](P& p, const S& st) {
             p.readControlButton(st, LookupButton);
         }},
        {"detailView",
         [](P& p, const S& st) {
             p.readDetailView(st);
         }},
        {"keyboardButtons",
         [](P& p, const S& st) {
             p.readKeyboardButtons(st);
         }},
        {"attract",
         [](P& p, const S& st) {
             p.readBoolean(st, p.m_settings.attractEnabled);
         }},
        {"hideMouse",
         [](P& p, const S& st) {
             p.readBoolean(st, p.m_settings.hideMouse);
         }},
        {"timeout",
         [](P& p, const S& st) {
             p.readWholeNumber(st, p.m_settings.idleTimeout);
         }},
        {"attractTimer",
         [](P& p, const S& st) {
             p.readWholeNumber(st, p.m_settings.slideSeconds);
         }},
        {"printing",
         [](P& p, const S& st) {
             p.readPrinting(st);
         }},
        {"backdrop",
         [](P& p, const S& st) {
             p.readBackdrop(st);
         }},
        {"jpgTop",
         [](P& p, const S& st) {
             p.readReal(st, p.m_settings.jpgTop);
         }},
        {"jpgLeft",
         [](P& p, const S& st) {
             p.readReal(st, p.m_settings.jpgLeft);
         }},
        {"jpgWidth",
         [](P& p, const S& st) {
             p.readReal(st, p.m_settings.jpgWidth);
         }},
        {"jpgHeight",
         [](P& p, const S& st) {
             p.readReal(st, p.m_settings.jpgHeight);
         }},
        {"tracking",
         [](P& p, const S& st) {
             p.readTracking(st);
         }},
        {"reboot1",
         [](P& p, const S& st) {
             p.readRebootTime(st, 0);
         }},
        {"reboot2",
         [](P& p, const S& st) {
             p.readRebootTime(st, 1);
         }},
        {"reboot3",
         [](P& p, const S& st) {
             p.readRebootTime(st, 2);
         }},
        {"usbResetCard",
         [](P& p, const S& st) {
             p.readBoolean(st, p.m_settings.watchdogEnabled);
         }},
        {"showFileName",
         [](P& p, const S& st) {
             p.readShowFileName(st);
         }},
    };
    return table;
}

void SettingsParser::readLines(QStringView text)
{
    for (int lineNumber = 1; !text.isEmpty() && !stopped(); ++lineNumber)
        readLine(takeSettingsLine(text), lineNumber);
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
        return readMenuButton(Statement{key, value, lineNumber});
    const Handler handler = handlerFor(key);
    if (!handler)
        return;
    handler(*this, Statement{key, trimmedOfSpaces(value), lineNumber});
}

SettingsParser::Handler SettingsParser::handlerFor(QStringView key)
{
    for (const KeyHandler& entry : handlers()) {
        if (key.size() == entry.key.size() && key.compare(entry.key, Qt::CaseInsensitive) == 0)
            return entry.handler;
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

void SettingsParser::refuse(const Statement& statement, QLatin1StringView firstLine, QStringView writtenKey)
{
    report(statement.line, improperStatementMessage(firstLine, writtenKey, statement.value));
}

void SettingsParser::refuse(const Statement& statement, QLatin1StringView firstLine)
{
    refuse(statement, firstLine, statement.key);
}

// --- Layout statements -------------------------------------------------------------------

void SettingsParser::readMenuButton(const Statement& statement)
{
    const QChar digit = statement.key.at(3);
    const QString writtenKey = menuButtonKey(statement.key);
    if (digit < QLatin1Char('1') || digit > QLatin1Char('9'))
        return refuse(statement, latin("You have a menu button statement whose number is not 1 to 9:"),
                      writtenKey);
    const int number = digit.unicode() - u'0';
    if (m_menuButtonCreated[static_cast<size_t>(number)])
        return refuse(statement, latin("You have a second statement for the same menu button:"), writtenKey);
    m_menuButtonCreated[static_cast<size_t>(number)] = true;
    resizeMenuEntries(number);
    m_menuEntryLines[static_cast<size_t>(number)] = statement.line;
    m_lastMenuStatement = statement;

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
    const QStringView word = statement.value;
    m_settings.printingMode = PrintingMode::None;
    if (word.compare(QLatin1String("JPG"), Qt::CaseInsensitive) == 0)
        m_settings.printingMode = PrintingMode::Jpg;
    if (word.compare(QLatin1String("PRN"), Qt::CaseInsensitive) == 0)
        m_settings.printingMode = PrintingMode::Prn;
}

// An unknown word is no fault: it switches tracking off.
void SettingsParser::readTracking(const Statement& statement)
{
    const QStringView word = statement.value;
    m_settings.trackingMode = TrackingMode::None;
    if (word.compare(QLatin1String("daily"), Qt::CaseInsensitive) == 0)
        m_settings.trackingMode = TrackingMode::Daily;
    if (word.compare(QLatin1String("monthly"), Qt::CaseInsensitive) == 0)
        m_settings.trackingMode = TrackingMode::Monthly;
}

void SettingsParser::readBackdrop(const Statement& statement)
{
    // A name with a NUL character would be cut short by the system and find another file.
    const std::optional<QString> path =
        statement.value.contains(QChar(u'\0'))
            ? std::nullopt
            : m_findInterfaceFile(m_settings.interfaceFolder, statement.value.toString());
    if (!path) {
        return refuse(statement, latin("Cannot locate the file indicated in your backdrop statement:"),
                      QStringLiteral("backdrop"));
    }
    m_settings.backdropPath = *path;
}

// --- Whole-file checks ---------------------------------------------------------------------

// Browsing needs a first category and the buttons that page through it and leave the
// detail view; start-up would otherwise run with controls that do not exist.
void SettingsParser::checkWholeFile()
{
    const std::array<std::function<void()>, 5> checks = {
        [this] { checkMenuNumbers(); },
        [this] { checkControlButton(PrevButton, noPrevMessage()); },
        [this] { checkControlButton(CloseButton, noCloseMessage()); },
        [this] { checkPrintButton(); },
        [this] { checkControlButton(NextButton, noNextMessage()); },
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
        return report(0, settingsFileMessage(QStringLiteral("Your \"quindle.ini\" file has no menu button "
                                                            "statement - at least \"btn1\" is needed.")));
    }
    for (size_t number = 1; number < m_menuEntryLines.size(); ++number) {
        if (m_menuEntryLines[number] != 0)
            continue;
        const QByteArray firstLine = QByteArrayLiteral("You have a menu button statement, but no \"btn") +
                                     char('0' + number) + QByteArrayLiteral("\" statement before it:");
        return refuse(m_lastMenuStatement, QLatin1StringView(firstLine),
                      menuButtonKey(m_lastMenuStatement.key));
    }
}

void SettingsParser::checkControlButton(int index, const QString& message)
{
    if (!m_controlStatementSeen[static_cast<size_t>(index)])
        report(0, message);
}

void SettingsParser::checkPrintButton()
{
    if (m_settings.printingMode == PrintingMode::None || m_controlStatementSeen[PrintButton])
        return;
    refuse(*m_printingStatement, latin("You switch printing on, but have no \"print\" statement for the "
                                       "print button:"));
}

} // namespace quindle
