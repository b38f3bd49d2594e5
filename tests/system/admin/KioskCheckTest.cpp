#include "tools/admin/KioskCheck.h"
#include "support/KioskFolder.h"
#include "tools/admin/AdminCommands.h"

#include <QFile>
#include <gtest/gtest.h>

using quindle::admin::Finding;
using quindle::admin::KioskCheck;
using quindle::admin::Severity;
using quindle::test::jpegBytes;
using quindle::test::KioskFolder;

namespace {

// The standard test kiosk with what it lacks for a clean check: slides for its attract mode.
void writeCleanKiosk(const KioskFolder& kiosk)
{
    kiosk.writeStandardKiosk();
    kiosk.temp().write(QStringLiteral("Kiosk/Attract/slide1.jpg"), jpegBytes(80, 60));
}

std::vector<Finding> faultsOf(const KioskFolder& kiosk)
{
    std::vector<Finding> faults;
    for (const Finding& finding : KioskCheck(kiosk.programFolder(), 2).run()) {
        if (finding.severity != Severity::Note)
            faults.push_back(finding);
    }
    return faults;
}

QStringList settingsWith(int line, const QString& replacement)
{
    QStringList lines = KioskFolder::standardSettings();
    lines[line - 1] = replacement;
    return lines;
}

struct CheckRun
{
    int status = 0;
    QStringList lines;
};

CheckRun runCheck(const KioskFolder& kiosk)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    CheckRun run;
    run.status =
        quindle::admin::runAdmin({"quindle-admin", "check", "--program-folder", kiosk.programFolder()}, {},
                                 {outStream, errStream, false});
    outStream.flush();
    run.lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

} // namespace

TEST(KioskCheck, CleanKiosk_startsAndRunsWithoutErrorsOrWarnings)
{
    KioskFolder kiosk;
    writeCleanKiosk(kiosk);
    EXPECT_TRUE(faultsOf(kiosk).empty());
    const CheckRun run = runCheck(kiosk);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(QStringLiteral("0 errors, 0 warnings, 0 notes: the kiosk would start and run."),
              run.lines.last());
}

TEST(KioskCheck, OneFault_settingsStatementsWithTheirLinesAndKioskTexts)
{
    KioskFolder kiosk;
    writeCleanKiosk(kiosk);
    const QString settingsFile = kiosk.temp().filePath(QStringLiteral("Kiosk/quindle.ini"));

    kiosk.writeSettings(settingsWith(5, QStringLiteral("grid = 4, 3, 40")));
    std::vector<Finding> faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(Severity::Error, faults[0].severity);
    EXPECT_EQ(settingsFile, faults[0].file);
    EXPECT_EQ(5, faults[0].line);
    EXPECT_TRUE(faults[0].message.contains(QStringLiteral("\"grid = 4, 3, 40\"")))
        << faults[0].message.toStdString();

    kiosk.writeSettings(settingsWith(15, QStringLiteral("timeout = ninety")));
    faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(15, faults[0].line);
    EXPECT_TRUE(faults[0].message.contains(QStringLiteral("\"timeout = ninety\"")));
}

TEST(KioskCheck, OneFault_missingPicturesAndFolders)
{
    KioskFolder kiosk;
    writeCleanKiosk(kiosk);
    const QString settingsFile = kiosk.temp().filePath(QStringLiteral("Kiosk/quindle.ini"));

    QFile::remove(kiosk.temp().filePath(QStringLiteral("Kiosk/Interface/btn2.jpg")));
    std::vector<Finding> faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(Severity::Error, faults[0].severity);
    EXPECT_EQ(4, faults[0].line);
    EXPECT_EQ(QStringLiteral("Cannot locate JPG image btn2.jpg - Program Terminating."), faults[0].message);
    kiosk.writeInterfacePictures();

    QFile::remove(kiosk.temp().filePath(QStringLiteral("Kiosk/Interface/noResults.jpg")));
    faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(Severity::Warning, faults[0].severity);
    EXPECT_TRUE(faults[0].message.contains(QStringLiteral("\"noResults.jpg\"")));
    kiosk.writeInterfacePictures();

    QDir(kiosk.temp().filePath(QStringLiteral("Kiosk/Watches"))).removeRecursively();
    faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(Severity::Error, faults[0].severity);
    EXPECT_EQ(settingsFile, faults[0].file);
    EXPECT_EQ(4, faults[0].line);
    EXPECT_EQ(
        kiosk.temp().filePath(QStringLiteral("Kiosk/Watches")) +
            QStringLiteral(
                " does not exist.\r\n\r\nPlease edit your \"quindle.ini\" file file prior to proceeding."),
        faults[0].message);

    kiosk.temp().makeFolder(QStringLiteral("Kiosk/Watches"));
    faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(Severity::Warning, faults[0].severity);
    EXPECT_EQ(QStringLiteral("Warning - you have no images inside your \"category\" folder of \"Watches\""),
              faults[0].message);
}

TEST(KioskCheck, OneFault_pictureCutShortOrEmptyAttract)
{
    KioskFolder kiosk;
    writeCleanKiosk(kiosk);
    const QByteArray whole = jpegBytes(64, 48, 0x123456);
    const QString cut =
        kiosk.temp().write(QStringLiteral("Kiosk/Rings/Cut.jpg"), whole.left(whole.size() / 2));
    kiosk.temp().write(QStringLiteral("Kiosk/Rings/_Cut.jpg"), jpegBytes(32, 24));
    std::vector<Finding> faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(cut, faults[0].file);
    EXPECT_EQ(Severity::Warning, faults[0].severity);
    QFile::remove(cut);

    const QString notAPicture = kiosk.temp().write(QStringLiteral("Kiosk/Rings/Text.jpg"), "not a picture");
    kiosk.temp().write(QStringLiteral("Kiosk/Rings/_Text.jpg"), jpegBytes(32, 24));
    faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(notAPicture, faults[0].file);
    EXPECT_TRUE(faults[0].message.contains(QStringLiteral("cannot be decoded")));
    QFile::remove(notAPicture);

    QFile::remove(kiosk.temp().filePath(QStringLiteral("Kiosk/Attract/slide1.jpg")));
    faults = faultsOf(kiosk);
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(17, faults[0].line);
    EXPECT_EQ(Severity::Warning, faults[0].severity);
}

TEST(KioskCheck, Notes_missingThumbnailsLoosePrintFilesAndLetterCase)
{
    KioskFolder kiosk;
    writeCleanKiosk(kiosk);
    kiosk.addPicture(QStringLiteral("Rings"), QStringLiteral("Bare.jpg"), false);
    kiosk.temp().write(QStringLiteral("Kiosk/Rings/Lost.prn"), "raw");
    QDir(kiosk.kioskFolder()).rename(QStringLiteral("Watches"), QStringLiteral("WATCHES"));

    const std::vector<Finding> findings = KioskCheck(kiosk.programFolder(), 1).run();
    ASSERT_EQ(3u, findings.size());
    for (const Finding& finding : findings)
        EXPECT_EQ(Severity::Note, finding.severity) << finding.message.toStdString();
    EXPECT_EQ(4, findings[0].line);
    EXPECT_TRUE(findings[0].message.contains(QStringLiteral("\"WATCHES\"")));
    EXPECT_TRUE(findings[1].message.contains(QStringLiteral("\"Bare.jpg\"")));
    EXPECT_TRUE(findings[2].message.contains(QStringLiteral("\"Lost.prn\"")));
}

TEST(KioskCheck, ManyFaults_allListedInOrderWithStatusAndSummaryLast)
{
    KioskFolder kiosk;
    writeCleanKiosk(kiosk);
    QStringList settings = KioskFolder::standardSettings();
    settings[4] = QStringLiteral("grid = 4, 3");
    settings[14] = QStringLiteral("timeout = ninety");
    settings[16] = QStringLiteral("attract = maybe");
    kiosk.writeSettings(settings);
    QFile::remove(kiosk.temp().filePath(QStringLiteral("Kiosk/Interface/btn1.jpg")));
    QFile::remove(kiosk.temp().filePath(QStringLiteral("Kiosk/Interface/_next.jpg")));
    QDir(kiosk.temp().filePath(QStringLiteral("Kiosk/Watches"))).removeRecursively();

    const CheckRun run = runCheck(kiosk);
    EXPECT_EQ(1, run.status);
    const QStringList expectedStarts{
        "Kiosk/quindle.ini:5: error: ",
        "Kiosk/quindle.ini:15: error: ",
        "Kiosk/quindle.ini:17: error: ",
        "Kiosk/quindle.ini:3: error: Cannot locate JPG image btn1.jpg",
        "Kiosk/quindle.ini:10: warning: Missing Interface picture \"_next.jpg\"",
        "Kiosk/quindle.ini:4: error: ",
    };
    ASSERT_EQ(expectedStarts.size() + 1, run.lines.size()) << run.lines.join('\n').toStdString();
    for (qsizetype i = 0; i < expectedStarts.size(); ++i)
        EXPECT_TRUE(run.lines[i].startsWith(expectedStarts[i])) << run.lines[i].toStdString();
    EXPECT_EQ(QStringLiteral("5 errors, 1 warning, 0 notes: the kiosk would not start and run."),
              run.lines.last());
}

TEST(KioskCheck, MissingPointerFile_isTheOnlyFinding)
{
    KioskFolder kiosk;
    writeCleanKiosk(kiosk);
    QFile::remove(kiosk.temp().filePath(QStringLiteral("quindleFolder.ini")));
    const CheckRun run = runCheck(kiosk);
    EXPECT_EQ(1, run.status);
    ASSERT_EQ(2, run.lines.size());
    EXPECT_EQ(
        QStringLiteral(
            "quindleFolder.ini: error: Missing the \"quindleFolder.ini\" file - program will terminate"),
        run.lines[0]);
}
