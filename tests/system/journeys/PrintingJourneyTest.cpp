#include "printing/PrivateCups.h"
#include "system/support/KioskSession.h"

#include <QFile>

using namespace quindle::systemtest;
using quindle::test::CapturedJob;
using quindle::test::PrivateCups;

namespace {

const QString queue = QStringLiteral("capture");

QString printFileOf(const QString& picture)
{
    return picture.chopped(4) + QStringLiteral(".prn");
}

// The kiosk prints to a private scheduler whose default queue captures every job; the kiosk
// started from this process finds it through the same CUPS_SERVER.
class PrintingJourney : public KioskSession
{
protected:
    void SetUp() override
    {
        KioskSession::SetUp();
        if (HasFatalFailure())
            return;
        if (cups.isMissingPrograms())
            GTEST_SKIP() << cups.problem().toStdString();
        ASSERT_TRUE(cups.captureByDefault(queue)) << cups.problem().toStdString();
    }

    QList<CapturedJob> waitForJobs(qsizetype count)
    {
        waitFor([&] { return cups.capturedJobs().size() >= count; }, 60'000);
        EXPECT_TRUE(cups.waitUntilIdle()) << cups.problem().toStdString();
        return cups.capturedJobs();
    }

    PrivateCups cups;
};

} // namespace

TEST_F(PrintingJourney, PrnMode_sendsTheProductsPrintFile_pictureWithoutOneCannotBePrinted)
{
    startKiosk();
    const QStringList rings = kiosk->pictures(0);
    qsizetype withFile = -1;
    qsizetype withoutFile = -1;
    for (qsizetype i = 0; i < kiosk->slotsPerPage(); ++i) {
        qsizetype& found = QFile::exists(printFileOf(rings.at(i))) ? withFile : withoutFile;
        if (found < 0)
            found = i;
    }
    ASSERT_GE(withFile, 0);
    ASSERT_GE(withoutFile, 0);

    tap(kiosk->slot(static_cast<int>(withoutFile) + 1));
    ASSERT_TRUE(waitFor([&] { return screen->showsDetail(rings.at(withoutFile)); }));
    EXPECT_FALSE(screen->printButtonEnabled());
    tap(kiosk->printButton());
    ASSERT_TRUE(process->settle());
    tap(kiosk->closeButton());
    ASSERT_TRUE(waitFor([&] { return screen->detailClosed(); }));

    tap(kiosk->slot(static_cast<int>(withFile) + 1));
    ASSERT_TRUE(
        waitFor([&] { return screen->showsDetail(rings.at(withFile)) && screen->printButtonEnabled(); }));
    tap(kiosk->printButton());

    const QList<CapturedJob> jobs = waitForJobs(1);
    ASSERT_EQ(1, jobs.size());
    EXPECT_EQ("QD Show Print Job", jobs.front().title.toStdString());
    QFile printFile(printFileOf(rings.at(withFile)));
    ASSERT_TRUE(printFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printFile.readAll() == jobs.front().data) << "the print file arrives byte for byte";

    ASSERT_EQ(0, endKiosk());
    const QStringList expected =
        QStringLiteral("Program Started|Detail: %1|Close Button Pressed|Detail: %2|Print: %2")
            .arg(SystemKiosk::fileNameOf(rings.at(withoutFile)), SystemKiosk::fileNameOf(rings.at(withFile)))
            .split('|');
    EXPECT_EQ(expected, kiosk->logEvents());
}

TEST_F(PrintingJourney, JpgMode_printsThePictureShownAsOnePage)
{
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("printing"), QStringLiteral("JPG")));
    startKiosk();
    const QStringList rings = kiosk->pictures(0);
    tap(kiosk->slot(2));
    ASSERT_TRUE(waitFor([&] { return screen->showsDetail(rings.at(1)) && screen->printButtonEnabled(); }));
    tap(kiosk->printButton());

    const QList<CapturedJob> jobs = waitForJobs(1);
    ASSERT_EQ(1, jobs.size());
    EXPECT_TRUE(jobs.front().data.startsWith("%PDF")) << "Qt sends the printed page as PDF";

    ASSERT_EQ(0, endKiosk());
    const QStringList expected{QStringLiteral("Program Started"),
                               QStringLiteral("Detail: ") + SystemKiosk::fileNameOf(rings.at(1)),
                               QStringLiteral("Print: ") + SystemKiosk::fileNameOf(rings.at(1))};
    EXPECT_EQ(expected, kiosk->logEvents());
}
