#include "metrics/MetricsFile.h"
#include "support/TempFolder.h"

#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <thread>

using namespace quindle;
using namespace quindle::test;

TEST(MetricsFile, AReaderSeesTheFormerOrTheNewFiguresNeverHalfAFile)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("quindle.prom"));
    // Texts of very different sizes: a read that caught a write under way would see the short
    // one cut off or the long one with the short one's end.
    const QByteArray texts[] = {"quindle_touches_total 1\n",
                                QByteArray("# HELP quindle_pictures Pictures.\n").repeated(4000)};
    MetricsFile file(path);
    ASSERT_TRUE(file.writeAndWait([&] { return texts[0]; }));
    std::atomic<bool> writing{true};
    std::atomic<int> reads{0};
    std::atomic<bool> readerEnded{false};
    QByteArray torn; // read once the reader has ended
    std::thread reader([&] {
        for (; writing && torn.isEmpty(); ++reads) {
            QFile shown(path);
            const QByteArray seen = shown.open(QIODevice::ReadOnly) ? shown.readAll() : "no file";
            if (seen != texts[0] && seen != texts[1])
                torn = seen.left(200);
        }
        readerEnded = true;
    });
    // Writes go on until the reader has read often enough, however busy the machine is.
    for (int writes = 0; writes < 500 || (reads < 200 && !readerEnded && writes < 20000); ++writes)
        file.writeAndWait([&] { return texts[writes % 2]; });
    writing = false;
    reader.join();

    EXPECT_EQ("", torn.toStdString());
    EXPECT_GE(reads, 200) << "the reader read while the files were replaced";
    EXPECT_TRUE(QFile(path).permissions() & QFileDevice::ReadOther) << "node_exporter runs as another user";
}

TEST(MetricsFile, ReadOnlyFolderIsReportedOnceUntilAWriteSucceedsAgain)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("quindle.prom"));
    const QString report = QStringLiteral("The metrics file \"%1\" cannot be written (").arg(path);
    MetricsFile file(path);
    for (const mode_t folderMode : {0555U, 0777U, 0555U}) {
        SCOPED_TRACE(folderMode);
        const bool writable = (folderMode & 0200U) != 0;
        ASSERT_EQ(0, ::chmod(QFile::encodeName(folder.path()).constData(), folderMode));
        testing::internal::CaptureStderr();
        // Root writes into any folder; under another user's file system identity this thread
        // meets the folder's modes as the kiosk's user does.
        const uid_t formerUser = ::setfsuid(65534);
        for (int minute = 0; minute < 3; ++minute)
            EXPECT_EQ(writable, file.writeAndWait([] { return QByteArray("quindle_touches_total 3\n"); }));
        ::setfsuid(formerUser);
        const QString errors = QString::fromStdString(testing::internal::GetCapturedStderr());
        EXPECT_EQ(writable ? 0 : 1, errors.count(report)) << errors.toStdString();
    }
    EXPECT_TRUE(QFile::exists(path)) << "the last figures written stay";
}
