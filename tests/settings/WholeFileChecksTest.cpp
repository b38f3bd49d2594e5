#include "SettingsFolder.h"

#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

QString fileMessage(const QString& sentence)
{
    return sentence +
           QStringLiteral("\r\n\r\nPlease edit \"quindle.ini\" and make the proper adjustments before "
                          "continuing.");
}

} // namespace

TEST(WholeFileChecks, FileWithoutMenuButtons_isRefused)
{
    SettingsFolder kiosk;
    const QString expected = fileMessage(QStringLiteral(
        "Your \"quindle.ini\" file has no menu button statement - at least \"btn1\" is needed."));
    EXPECT_EQ(expected, kiosk.refused(""));
    EXPECT_EQ(expected, kiosk.refused("; nothing here yet\r\n\r\n" + requiredControls));
}

TEST(WholeFileChecks, GapInMenuNumbers_quotesTheLastMenuStatement)
{
    SettingsFolder kiosk;
    EXPECT_EQ(improperMessage(
                  QStringLiteral("You have a menu button statement, but no \"btn2\" statement before it:"),
                  QStringLiteral("btn3 =  C, 1, 2")),
              kiosk.refused("btn1 = A, 1, 2\r\nBtn3 = C, 1, 2\r\n" + requiredControls));
}

TEST(WholeFileChecks, MissingPagingButtons_areRefusedInButtonOrder)
{
    SettingsFolder kiosk;
    EXPECT_EQ(fileMessage(QStringLiteral("Your \"quindle.ini\" file has no \"prev\" statement - the previous "
                                         "button is needed.")),
              kiosk.refused("btn1 = A, 1, 2\r\nnext = 1, 2\r\n"));
    EXPECT_EQ(
        fileMessage(QStringLiteral("Your \"quindle.ini\" file has no \"close\" statement - the close button "
                                   "is needed.")),
        kiosk.refused("btn1 = A, 1, 2\r\nprev = 1, 2\r\n"));
    EXPECT_EQ(
        fileMessage(QStringLiteral("Your \"quindle.ini\" file has no \"next\" statement - the next button "
                                   "is needed.")),
        kiosk.refused("btn1 = A, 1, 2\r\nprev = 1, 2\r\nclose = 1, 2\r\n"));
}

TEST(WholeFileChecks, PrintingWithoutPrintButton_quotesThePrintingStatement)
{
    SettingsFolder kiosk;
    EXPECT_EQ(
        improperMessage(QStringLiteral("You switch printing on, but have no \"print\" statement for the "
                                       "print button:"),
                        QStringLiteral("Printing = PRN")),
        kiosk.refused(requiredStatements + "Printing = PRN\r\n"));
}

TEST(WholeFileChecks, FirstProblem_endsTheReading)
{
    SettingsFolder kiosk;
    // The bad timeout comes first; the missing buttons behind it are never reached.
    EXPECT_EQ(improperMessage(QStringLiteral("You have a value that cannot be read as a whole number:"),
                              QStringLiteral("timeout = soon")),
              kiosk.refused("timeout = soon\r\ngrid = 1\r\n"));
}

TEST(ReadAll, ListsEveryProblemWithFileAndLine)
{
    SettingsFolder kiosk;
    kiosk.writeSettings("timeout = soon\r\n"
                        "btn1 = A, 1, 2\r\n"
                        "; a comment\r\n"
                        "btn3 = C, 1, 2\r\n"
                        "grid = 1\r\n"
                        "prev = 1, 2\r\n"
                        "prev = 3, 4\r\n"
                        "printing = jpg\r\n"
                        "attract = maybe\r\n");
    const SettingsReport report = SettingsReader(kiosk.programFolder()).readAll();
    const QString file = kiosk.folder().filePath(QStringLiteral("Kiosk/quindle.ini"));

    std::vector<std::pair<int, QString>> found;
    for (const SettingsProblem& problem : report.problems) {
        EXPECT_EQ(file, problem.file);
        found.emplace_back(problem.line, problem.message.section(QStringLiteral("\r\n"), 0, 0));
    }
    const std::vector<std::pair<int, QString>> expected = {
        {1, QStringLiteral("You have a value that cannot be read as a whole number:")},
        {5, QStringLiteral("You have an improper grid format statement:")},
        {7, QStringLiteral("You have a second statement for the same control button:")},
        {9, QStringLiteral("You have a value that cannot be read as true or false:")},
        {4, QStringLiteral("You have a menu button statement, but no \"btn2\" statement before it:")},
        {0, QStringLiteral(
                "Your \"quindle.ini\" file has no \"close\" statement - the close button is needed.")},
        {8, QStringLiteral("You switch printing on, but have no \"print\" statement for the print button:")},
        {0,
         QStringLiteral("Your \"quindle.ini\" file has no \"next\" statement - the next button is needed.")},
    };
    EXPECT_EQ(expected, found);
    // What could be read is kept.
    EXPECT_EQ(3, report.settings.menuEntryCount());
    EXPECT_EQ(QPoint(1, 2), report.settings.controlButtons[PrevButton].position);
}

TEST(ReadAll, CleanFile_hasNoProblemsAndTheSameRecordAsRead)
{
    SettingsFolder kiosk;
    kiosk.writeSettings(requiredStatements + "timeout = 30\r\ngrid = 4, 3, 120, 90, 50, 200, 10, 20\r\n");
    const SettingsReport report = SettingsReader(kiosk.programFolder()).readAll();
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(30, report.settings.idleTimeout);
    EXPECT_EQ(4, report.settings.gridColumns);
}

TEST(ReadAll, MissingPointerFile_isTheOnlyProblem)
{
    TempFolder program;
    const SettingsReport report = SettingsReader(program.path()).readAll();
    ASSERT_EQ(1u, report.problems.size());
    EXPECT_EQ(program.filePath(QStringLiteral("quindleFolder.ini")), report.problems[0].file);
    EXPECT_EQ(QStringLiteral("Missing the \"quindleFolder.ini\" file - program will terminate"),
              report.problems[0].message);
}
