#include "system/support/KioskSession.h"

#include <QDir>

using namespace quindle::systemtest;

using FatalSettings = KioskSession;

TEST_F(FatalSettings, ImproperStatement_messageOnStandardErrorAndInABox_endsWithStatusOne)
{
    const QString grid = QStringLiteral("4,three,240,180,630,128,33,62");
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("grid"), grid));
    process = std::make_unique<KioskProcess>(server, kiosk->programFolder());
    ASSERT_TRUE(process->start());

    const QString line =
        QStringLiteral("Quindle: You have a value that cannot be read as a whole number:  \"grid = %1\"  "
                       "Please edit \"quindle.ini\" and make the proper adjustments before "
                       "continuing.\n")
            .arg(grid);
    ASSERT_TRUE(waitFor([&] { return process->standardError().contains(line); }, 30'000))
        << process->standardError().toStdString();
    TopLevelWindow box;
    ASSERT_TRUE(waitFor([&] {
        const QList<TopLevelWindow> shown = server.viewableTopLevels();
        if (shown.size() == 1)
            box = shown.front();
        return shown.size() == 1;
    })) << "the message box is the only window";
    EXPECT_EQ("Quindle", box.name.toStdString());
    EXPECT_TRUE(process->isRunning()) << "the message waits for its OK";

    server.key(QStringLiteral("Return"));
    ASSERT_TRUE(process->waitForExit());
    EXPECT_TRUE(process->exitedNormally());
    EXPECT_EQ(1, process->exitCode());
    EXPECT_FALSE(QDir(kiosk->programFolder()).exists(QStringLiteral("log files"))) << "nothing is logged";
}
