#include "settings/SettingsReader.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Every accepted file needs a menu button and the three paging buttons, whose keys are read in any case.
const QByteArray paging = "PREV = 10, 700\r\nclose = 100, 701\r\nNext = 200, 702\r\n";
const QByteArray required = "btn1 = Rings, 10, 20\r\n" + paging;

// Reads a settings file from a program folder whose pointer file names the kiosk folder "Kiosk", with a
// backdrop in its Interface folder: as the kiosk does, and as the owner's check does.
std::pair<SettingsResult, SettingsReport> readSettings(const QByteArray& settingsText)
{
    const TempFolder program;
    program.write(QStringLiteral("quindleFolder.ini"), "Kiosk\r\n");
    program.write(QStringLiteral("Kiosk/Interface/Shop/Night.JPG"), jpegBytes(8, 8));
    program.write(QStringLiteral("Kiosk/quindle.ini"), settingsText);
    return {SettingsReader(program.path()).read(), SettingsReader(program.path()).readAll()};
}

// The record's fields as text, so that one table holds fields of every type.
struct Text
{
    static QString of(int value) { return QString::number(value); }
    static QString of(double value) { return QString::number(value); }
    static QString of(std::uint32_t colour) { return QString::number(colour, 16); }
    static QString of(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
    static QString of(const QString& text) { return text; }
    static QString of(QPoint point) { return QStringLiteral("%1,%2").arg(point.x()).arg(point.y()); }
    static QString of(QRect rect) { return of(rect.topLeft(), QPoint(rect.width(), rect.height())); }
    static QString of(PrintingMode mode) { return QStringList{"None", "Jpg", "Prn"}.at(int(mode)); }
    static QString of(TrackingMode mode) { return QStringList{"None", "Daily", "Monthly"}.at(int(mode)); }
    static QString of(const TextStyle& style)
    {
        return of(style.fontName, style.pointSize, style.colour) + (style.bold ? " bold" : "") +
               (style.italic ? " italic" : "");
    }
    static QString of(const MenuEntry& m) { return of(m.folder, m.caption, m.position, m.style); }
    static QString of(const ControlButtonPlacement& b) { return of(b.position, b.caption, b.style); }
    template <typename... T> static QString of(const T&... values) requires(sizeof...(T) > 1)
    {
        return QStringList{of(values)...}.join(QStringLiteral(" | "));
    }
};

// The field of a table row: expressions of the record s.
// clang-format off
#define FIELD(...) [](const KioskSettings& s) { return Text::of(__VA_ARGS__); }
// clang-format on

struct Accepted
{
    QByteArray text;
    QString (*field)(const KioskSettings&);
    const char* expected;
};

const Accepted acceptedRows[] = {
    // Keys in any case and spacing; a key after a tab, lines without "=" and unknown keys are skipped.
    {required + "   TimeOut=     30    ", FIELD(s.idleTimeout), "30"},
    {required + "\ttimeout = 30\r\n[Quindle]\r\n; notes\r\nwhatever = x, y", FIELD(s.idleTimeout), "0"},
    // The value is cut after 100 characters, before it is trimmed and before it is split.
    {required + "timeout = 30" + QByteArray(97, ' ') + "forty", FIELD(s.idleTimeout), "30"},
    {required + "grid =4,3,120,90,50,200,10," + QByteArray(77, ' ') + "20,99",
     FIELD(s.gridColumns, s.gridRows, s.thumbWidth, s.thumbHeight, s.gridLeft, s.gridTop, s.gridColumnGap,
           s.gridRowGap),
     "4 | 3 | 120 | 90 | 50 | 200 | 10 | 20"},
    // Windows-1252 with CR LF; UTF-8 with a byte order mark and LF; one invalid byte makes it Windows-1252.
    {paging + "btn1 = Caf\xE9 \x80, 1, 2", FIELD(s.menuEntries[1].folder), "Caf\u00e9 \u20ac"},
    {"\xEF\xBB\xBFprev = 1, 2\nbtn1 = Caf\xC3\xA9, 1, 2\nclose = 3, 4\nnext = 5, 6",
     FIELD(s.menuEntries[1].folder), "Caf\u00e9"},
    {paging + "btn1 = \xC3\xA9\xE9, 1, 2", FIELD(s.menuEntries[1].folder), "\u00c3\u00a9\u00e9"},
    // Options ("printing = JPG" is read in the printing journey, "tracking = daily" in every window test); a
    // later statement overrides an earlier one; whole numbers are rounded, halves to even.
    {required +
         "attract = TRUE\r\nattract = 0\r\nhideMouse = 2\r\nhideMouse = False\r\nusbResetCard = -0.5\r\n"
         "attractTimer = 7",
     FIELD(s.attractEnabled, s.hideMouse, s.watchdogEnabled, s.slideSeconds), "false | false | true | 7"},
    {required + "keyboardButtons = 32767.4, -32768.5, 1.5e1, -3.5",
     FIELD(s.keyboardButtonLeft[0], s.keyboardButtonLeft[1], s.keyboardButtonLeft[2],
           s.keyboardButtonLeft[3]),
     "32767 | -32768 | 15 | -4"},
    {required + "printing = yes\r\ntracking = weekly", FIELD(s.printingMode, s.trackingMode), "None | None"},
    // Reboot times are hours after midnight, kept as whole seconds without a range check.
    {required + "reboot2 = 13.5\r\nREBOOT3 = 0.000625\r\nreboot1 = -1",
     FIELD(s.rebootTimes[0], s.rebootTimes[1], s.rebootTimes[2]), "-3600 | 48600 | 2"},
    {required + "jpgTop = .5\r\njpgLeft = +0.25\r\njpgWidth = 7.5\r\njpgHeight = 10.",
     FIELD(s.jpgLeft, s.jpgTop, s.jpgWidth, s.jpgHeight), "0.25 | 0.5 | 7.5 | 10"},
    {required + "backdrop = shop\\night.jpg", FIELD(s.backdropPath.section("/Kiosk/", 1)),
     "Interface/Shop/Night.JPG"},
    // Menu buttons: three fields keep the template's look; the style word is compared untrimmed.
    {paging + "btn1 =  Gold Rings ,  15 , 25  ", FIELD(s.menuEntries[1]),
     "Gold Rings |  | 15,25 | Century Gothic | 15.75 | 0"},
    {paging + "btn1 = Rings\\Gold, 10, 20, Gold=rings , Arial, 12.5, 0000000000FF0000,bold",
     FIELD(s.menuEntries[1]), "Rings/Gold | Gold=rings | 10,20 | Arial | 12.5 | ff0000 bold"},
    {paging + "btn1 = Rings, 1, 2, R, Arial, 12, 0, bold", FIELD(s.menuEntries[1].style), "Arial | 12 | 0"},
    // A lower number last drops the entries above it; a longer key is no menu button.
    {paging + "btn2 = B, 1, 2\r\nbtn3 = C, 1, 2\r\nbtn1 = A, 1, 2\r\nbtn1x = ignored",
     FIELD(s.menuEntryCount(), s.menuEntries[1].folder), "1 | A"},
    // Layout statements.
    {required +
         "detailView = 9,9,9,9\r\ndetailview = 1,2,3,4\r\nkeyboard = 10.6, 20\r\nkeyboardText = 30, 40.5",
     FIELD(s.detailView.value(), s.keyboardPosition.value(), s.keyboardTextPosition.value()),
     "1,2 | 3,4 | 11,20 | 30,40"},
    // Control buttons: two fields keep the template's look; the print and lookup buttons need statements.
    {required + "print = 300, 710\r\nprinting = PRN\r\ntracking = MONTHLY",
     FIELD(s.controlButtons[PrevButton].position, s.controlButtons[CloseButton].position,
           s.controlButtons[NextButton].position, s.controlButtons[PrintButton],
           s.controlButtons[LookupButton].configured, s.lookupEnabled, s.printingMode, s.trackingMode),
     "10,700 | 100,701 | 200,702 | 300,710 |  | Century Gothic | 15.75 | 0 | false | false | Prn | Monthly"},
    {required + "lookup = 400, 720, Find it , Verdana, 14, 00FF00,BOLDITALIC",
     FIELD(s.controlButtons[LookupButton], s.lookupEnabled),
     "400,720 | Find it | Verdana | 14 | ff00 bold italic | true"},
    // File-name captions: the template's bold is never taken away; the whole value is trimmed.
    {required + "showFileName = top, 24, C0C0C0, Arial, 10, FF,ITALIC   ",
     FIELD(s.showFileName, s.fileNameCaption.positionWord, s.fileNameCaption.height,
           s.fileNameCaption.background, s.fileNameCaption.style),
     "true | top | 24 | c0c0c0 | Arial | 10 | ff bold italic"},
    {required + "showFileName = true", FIELD(s.showFileName), "false"},
};

// A refused statement; its message quotes it as written unless told otherwise, and a check of the whole
// file quotes nothing.
struct Refused
{
    QByteArray statement;
    const char* firstLine;
    QByteArray quoted = statement;
    QByteArray before = required;
};

const char* const notWhole = "You have a value that cannot be read as a whole number:";
const char* const badColour = "You have a value that cannot be read as a hexadecimal colour:";
const char* const noBackdrop = "Cannot locate the file indicated in your backdrop statement:";

const Refused refusedRows[] = {
    // The statement is quoted with its key as written, or in small letters where the check names it so.
    {"LookUp = 400", "You have an improper control button format statement:"},
    {"Keyboard = 10", "You have an improper keyboard format statement:"},
    {"KEYBOARDTEXT = 1, 2, 3", "You have an improper keyboardText statement:"},
    {"KEYBOARDBUTTONS = 1, 2, 3, 4, 5",
     "You have an improper keyboardButtons statement:", "keyboardButtons = 1, 2, 3, 4, 5"},
    {"BTN3 = Rings, 10 ", "You have an improper button format statement:", "btn3 =  Rings, 10 "},
    {"btn1 = R, 1, 2, R, A, 0, 0, bold",
     "You have a font size that is not a number above 0 and at most 32767:",
     "btn1 =  R, 1, 2, R, A, 0, 0, bold", paging},
    {"btn0 = Rings, 1, 2",
     "You have a menu button statement whose number is not 1 to 9:", "btn0 =  Rings, 1, 2"},
    {"btn2 = Again, 1, 2", "You have a second statement for the same menu button:", "btn2 =  Again, 1, 2",
     required + "btn2 = B, 1, 2\r\n"},
    // btn1 drops entry 2; btn3 brings it back empty, and button 2 cannot be made twice.
    {"btn3 = C, 1, 2", "You have a menu button statement, but no \"btn2\" statement before it:",
     "btn3 =  C, 1, 2", paging + "btn2 = B, 1, 2\r\nbtn1 = A, 1, 2\r\n"},
    {"GRID = 4,3,120,90,50,200,10",
     "You have an improper grid format statement:", "grid = 4,3,120,90,50,200,10"},
    {"grid = 200,200,1,1,0,0,0,0", "You have a grid with more than 32767 thumbnails on a page:"},
    {"grid = -2,-3,1,1,0,0,0,0", "You have a grid with a negative number of columns or rows:"},
    {"DetailVIEW = 1, 2, 3", "You have an improper detailView statement:"},
    {"ShowFileName = top, 24", "You have an improper showFileName statement:"},
    {"Printing = PRN", "You switch printing on, but have no \"print\" statement for the print button:"},
    // Plain decimals only, whole numbers in sixteen bits, colours of at most eight hexadecimal digits.
    {"timeout = 0x1F", notWhole},
    {"timeout = inf", notWhole},
    {"timeout = 1e999", notWhole},
    {"timeout = 32767.5", "You have a whole number outside the range -32768 to 32767:"},
    {"jpgWidth = 1e39", "You have a value that cannot be read as a number:"},
    {"reboot1 = 1e9", "You have a reboot time that cannot be read as hours after midnight:"},
    {"btn1 = R, 1, 2, R, A, 1, 1FFFFFFFF, bold", badColour, "btn1 =  R, 1, 2, R, A, 1, 1FFFFFFFF, bold",
     paging},
    {"btn1 = R, 1, 2, R, A, 1, &HFF, bold", badColour, "btn1 =  R, 1, 2, R, A, 1, &HFF, bold", paging},
    {"BackDrop =    missing back.jpg   ", noBackdrop, "backdrop = missing back.jpg"},
    {"backdrop =", noBackdrop, "backdrop = "}, // the Interface folder itself is no picture
    // The value is cut after 100 characters; one outside the basic plane counts once.
    {"backdrop = " + QByteArray(98, 'a') + "\xF0\x9F\x98\x80zz", noBackdrop,
     "backdrop = " + QByteArray(98, 'a') + "\xF0\x9F\x98\x80"},
    // Checks of the whole file, after every statement was read.
    {"", "Your \"quindle.ini\" file has no menu button statement - at least \"btn1\" is needed.", "",
     "; nothing here yet\r\n\r\n" + paging},
    {"", "Your \"quindle.ini\" file has no \"close\" statement - the close button is needed.", "",
     "btn1 = A, 1, 2\r\nprev = 1, 2"},
    // The first problem ends the kiosk's reading: the missing buttons behind it are never reached.
    {"timeout = soon\r\ngrid = 1", notWhole, "timeout = soon", ""},
};

// A program folder as the owner may leave it, and what is read from it: the message, or the kiosk folder
// as named and as found, and its Interface folder.
// Files are given as "name=contents"; a name ending in "/" is a folder, a bare name a settings file.
const std::pair<std::vector<QByteArray>, const char*> layouts[] = {
    {{"quindleFolder.ini=  Shop Kiosk  \r\n"},
     "The folder name of \"Shop Kiosk\" does not exist - please edit the "
     "\"quindleFolder.ini\" file to point to a valid folder."},
    {{"quindleFolder.ini=   \r\nKiosk\r\n", "Kiosk/"},
     "The \"quindleFolder.ini\" file names no folder - please edit the "
     "\"quindleFolder.ini\" file to point to a valid folder."},
    {{"quindleFolder.ini=Kiosk", "Kiosk/quindle.ini/"},
     "Missing the \"quindle.ini\" file in the \"Kiosk\" folder - program will terminate."},
    // The first line is trimmed and the rest ignored; names are found without regard to case. The Interface
    // folder's existence is start-up's test; its name is still given.
    {{"quindleFolder.ini=   Kiosk   \r\nElsewhere\r\n", "Kiosk/quindle.ini"},
     "Kiosk | Kiosk | Kiosk/Interface/"},
    {{"QUINDLEFOLDER.INI=kiosk", "KIOSK/interface/", "KIOSK/Quindle.INI"},
     "kiosk | KIOSK | KIOSK/interface/"},
};

using AcceptedStatement = testing::TestWithParam<Accepted>;
using RefusedStatement = testing::TestWithParam<Refused>;

} // namespace

TEST_P(AcceptedStatement, SetsItsField)
{
    SCOPED_TRACE(GetParam().text.constData());
    const SettingsResult result = readSettings(GetParam().text).first;
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(QString::fromUtf8(GetParam().expected), GetParam().field(*result.settings));
}

INSTANTIATE_TEST_SUITE_P(SettingsReader, AcceptedStatement, testing::ValuesIn(acceptedRows));

TEST_P(RefusedStatement, EndsWithTheMessageForTheOwner)
{
    const Refused& row = GetParam();
    SCOPED_TRACE(row.statement.constData());
    const QString quoted = row.quoted.isEmpty() ? "" : "\"" + QString::fromUtf8(row.quoted) + "\"\r\n\r\n";
    const QString expected = QString::fromUtf8(row.firstLine) + "\r\n\r\n" + quoted +
                             "Please edit \"quindle.ini\" and make the proper adjustments before continuing.";
    EXPECT_EQ(expected, readSettings(row.before + row.statement).first.message);
}

INSTANTIATE_TEST_SUITE_P(SettingsReader, RefusedStatement, testing::ValuesIn(refusedRows));

TEST(SettingsReader, OwnersCheckListsEveryProblemWithItsLine)
{
    const SettingsReport report =
        readSettings("timeout = soon\r\nbtn1 = A, 1, 2\r\n; a comment\r\nbtn3 = C, 1, 2\r\n"
                     "close = 1, 2\r\nclose = 3, 4\r\nprinting = jpg\r\n"
                     "attract = maybe\r\n")
            .second;
    QStringList found;
    for (const SettingsProblem& problem : report.problems)
        found.append(QString::number(problem.line) + ' ' + problem.message.section("\r\n", 0, 0));
    const QStringList expected{
        "1 You have a value that cannot be read as a whole number:",
        "6 You have a second statement for the same control button:",
        "8 You have a value that cannot be read as true or false:",
        "4 You have a menu button statement, but no \"btn2\" statement before it:",
        "0 Your \"quindle.ini\" file has no \"prev\" statement - the previous button is needed.",
        "7 You switch printing on, but have no \"print\" statement for the print button:",
        "0 Your \"quindle.ini\" file has no \"next\" statement - the next button is needed.",
    };
    EXPECT_EQ(expected, found);
}

TEST(SettingsReader, FindsTheKioskFolderThroughThePointerFile)
{
    for (const auto& [files, expected] : layouts) {
        SCOPED_TRACE(expected);
        const TempFolder program;
        for (const QByteArray& file : files) {
            const QString name = QString::fromUtf8(file.split('=').front());
            if (name.endsWith('/'))
                program.makeFolder(name);
            else
                program.write(name, file.contains('=') ? file.mid(file.indexOf('=') + 1) : required);
        }
        const SettingsResult result = SettingsReader(program.path()).read();
        const QString found = result.ok()
                                  ? Text::of(result.settings->kioskFolder, result.settings->kioskFolderPath,
                                             result.settings->interfaceFolder)
                                        .remove(program.path() + '/')
                                  : result.message;
        EXPECT_EQ(QString::fromUtf8(expected), found);
    }
}
