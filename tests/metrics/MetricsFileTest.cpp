#include "metrics/MetricsFile.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Root writes into any folder. Without CAP_DAC_OVERRIDE in its effective set the calling
// thread meets a folder's mode as any other user does; the capability comes back at the end
// of the scope. For another user the mode holds anyway.
class FolderModesHold
{
public:
    FolderModesHold()
    {
        ::syscall(SYS_capget, &m_header, m_saved);
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~(1U << CAP_DAC_OVERRIDE);
        ::syscall(SYS_capset, &m_header, reduced);
    }
    ~FolderModesHold() { ::syscall(SYS_capset, &m_header, m_saved); }
    FolderModesHold(const FolderModesHold&) = delete;
    FolderModesHold& operator=(const FolderModesHold&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
};

MetricsFile::Text textOf(const QByteArray& bytes)
{
    return [bytes] {
        return bytes;
    };
}

} // namespace

TEST(MetricsFile, AReaderSeesTheFormerOrTheNewFiguresNeverHalfAFile)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("quindle.prom"));
    // Two texts of very different sizes: a reader that caught a write under way would see
    // the short one cut off or the long one with the short one's end.
    const QByteArray shortText = "quindle_touches_total 1\n";
    const QByteArray longText =
        QByteArray("# HELP quindle_pictures Pictures.\n").repeated(4000) + "quindle_pictures 2\n";
    MetricsFile file(path);
    ASSERT_TRUE(file.writeAndWait(textOf(shortText)));
    // A reader in the middle of the file when a write comes reads the former figures to the end.
    QFile early(path);
    ASSERT_TRUE(early.open(QIODevice::ReadOnly));
    ASSERT_TRUE(file.writeAndWait(textOf(longText)));
    EXPECT_EQ(shortText.toStdString(), early.readAll().toStdString());

    std::atomic<bool> writing{true};
    std::atomic<bool> readerStopped{false};
    std::atomic<int> reads{0};
    QByteArray torn; // read once the reader has ended
    std::thread reader([&] {
        while (writing && torn.isEmpty()) {
            QFile shown(path);
            const QByteArray seen =
                shown.open(QIODevice::ReadOnly) ? shown.readAll() : "the file was missing";
            if (seen != shortText && seen != longText)
                torn = seen.left(200);
            ++reads;
        }
        readerStopped = true;
    });
    int writes = 0;
    while (writes < 500 && !readerStopped) {
        if (file.startWrite(textOf(writes % 2 == 0 ? longText : shortText)))
            ++writes;
        else
            QThread::yieldCurrentThread();
    }
    file.writeAndWait(textOf(longText));
    writing = false;
    reader.join();

    EXPECT_EQ("", torn.toStdString());
    EXPECT_GT(reads, 100) << "the reader kept pace with the writes";
    EXPECT_EQ(longText, folder.read(QStringLiteral("quindle.prom")));
    EXPECT_EQ(QStringList{QStringLiteral("quindle.prom")},
              QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System))
        << "no temporary file is left behind";
    struct stat info
    {
    };
    ASSERT_EQ(0, ::stat(QFile::encodeName(path).constData(), &info));
    EXPECT_EQ(0644U, info.st_mode & 0777U) << "node_exporter runs as another user and must read it";
}

TEST(MetricsFile, ReadOnlyFolderIsReportedOnceUntilAWriteSucceedsAgain)
{
    TempFolder folder;
    const QString metrics = folder.makeFolder(QStringLiteral("textfiles"));
    const QString path = metrics + QStringLiteral("/quindle.prom");
    const QByteArray encoded = QFile::encodeName(metrics);
    MetricsFile file(path);
    const FolderModesHold modesHold;

    struct Step
    {
        const char* name;
        mode_t folderMode;
        bool written;
        int reports; // lines on standard error after the step's writes
        bool fileShown;
    };
    const Step steps[] = {
        {"read-only: three minutes, one report", 0555, false, 1, false},
        {"writable again: written, nothing reported", 0755, true, 0, true},
        {"read-only once more: reported again, the last figures stay", 0555, false, 1, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_EQ(0, ::chmod(encoded.constData(), step.folderMode));
        testing::internal::CaptureStderr();
        for (int minute = 0; minute < 3; ++minute)
            EXPECT_EQ(step.written, file.writeAndWait(textOf("quindle_touches_total 3\n")));
        const QString errors = QString::fromStdString(testing::internal::GetCapturedStderr());
        EXPECT_EQ(step.reports, errors.count(QLatin1Char('\n'))) << errors.toStdString();
        if (step.reports > 0) {
            EXPECT_TRUE(errors.startsWith(
                QStringLiteral("Quindle: The metrics file \"%1\" cannot be written (").arg(path)))
                << errors.toStdString();
        }
        EXPECT_EQ(step.fileShown, QFile::exists(path));
    }
    ::chmod(encoded.constData(), 0755);
}
