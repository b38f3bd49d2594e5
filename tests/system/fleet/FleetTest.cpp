#include "support/TempFolder.h"
#include "system/admin/AdminRun.h"
#include "system/support/KioskProcess.h"
#include "system/support/Syncthing.h"
#include "system/support/SystemKiosk.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quindle::systemtest;
using namespace quindle::test;

namespace {

// A shop machine: its program folder (with its "log files" folder shared back to the owner),
// its copy of the channel, its Syncthing, its screen and the running kiosk.
struct ShopKiosk
{
    QString name;
    QString programFolder;
    QString channel;
    std::unique_ptr<Syncthing> syncthing;
    std::unique_ptr<XServer> server;
    std::unique_ptr<KioskProcess> process;

    QString logFolder() const { return programFolder + QStringLiteral("/log files"); }
    // "follow" as the kiosk's units run it: its exit status, and its one line in line.
    int follow(QString& line) const
    {
        line.clear();
        return runAdmin({"follow", "--channel", channel, "--program-folder", programFolder}, line);
    }
    // Starts the built kiosk, as its service does, and waits for its window.
    bool start()
    {
        process = std::make_unique<KioskProcess>(*server, programFolder);
        return process->start() && waitFor([&] { return server->windowNamed("Quindle").id != 0; }, 60'000);
    }
};

// Every file below from is below to with the same size: Syncthing delivered it.
bool sameFiles(const QString& from, const QString& to)
{
    bool any = false;
    for (QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); any = true) {
        const QString file = it.next();
        if (QFileInfo(to + file.mid(from.size())).size() != QFileInfo(file).size())
            return false;
    }
    return any;
}

} // namespace

TEST(Fleet, PublishedVersionReachesBothKiosks_aDeliveryCutShortIsNotTaken_logsComeBack)
{
    if (Syncthing::programPath().isEmpty())
        GTEST_SKIP() << "syncthing is not installed (scripts/deps/fleet.txt lists it)";
    TempFolder folder;
    SystemKiosk source(folder.filePath("owner/source"));
    ASSERT_EQ("", source.problem().toStdString());
    ASSERT_TRUE(source.setSetting("timeout", "3") && source.setSetting("attractTimer", "2"));
    const QString keys = folder.makeFolder("owner/keys");
    QString out;
    ASSERT_EQ(0, runAdmin({"keygen", keys}, out));
    const QString key = keys + "/owner.key";
    const QString channel = folder.filePath("owner/channel");
    const QString fleet = folder.filePath("owner/fleet");

    using Type = Syncthing::FolderType;
    Syncthing owner(folder.makeFolder("owner/syncthing"), "owner");
    ASSERT_EQ("", owner.problem().toStdString());
    ShopKiosk kiosks[2];
    for (int i = 0; i < 2; ++i) {
        ShopKiosk& kiosk = kiosks[i];
        kiosk.name = QStringLiteral("kiosk%1").arg(i + 1);
        kiosk.programFolder = folder.makeFolder(kiosk.name + "/program");
        kiosk.channel = folder.filePath(kiosk.name + "/channel");
        QFile::copy(keys + "/owner.pub", kiosk.programFolder + "/trusted-publishers");
        kiosk.syncthing =
            std::make_unique<Syncthing>(folder.makeFolder(kiosk.name + "/syncthing"), kiosk.name);
        Syncthing& own = *kiosk.syncthing;
        ASSERT_EQ("", own.problem().toStdString());
        own.addPeer(owner);
        owner.addPeer(own);
        own.addFolder("channel", kiosk.channel, Type::ReceiveOnly, {"owner"});
        own.addFolder("logs-" + kiosk.name, kiosk.logFolder(), Type::SendOnly, {"owner"});
        owner.addFolder("logs-" + kiosk.name, fleet + "/" + kiosk.name, Type::ReceiveOnly, {kiosk.name});
    }
    owner.addFolder("channel", channel, Type::SendOnly, {"kiosk1", "kiosk2"});
    ASSERT_TRUE(owner.start()) << owner.problem().toStdString();
    for (ShopKiosk& kiosk : kiosks)
        ASSERT_TRUE(kiosk.syncthing->start()) << kiosk.syncthing->problem().toStdString();
    ASSERT_TRUE(waitFor([&] { return owner.connectedToAll(); }, 30'000)) << "the instances did not connect";
    QString line;
    const auto takes = [&](const ShopKiosk& kiosk, const QString& version) {
        return waitFor([&] { return kiosk.follow(line) == 0 && line.contains(version + " taken"); }, 30'000);
    };

    // The first version, taken by both kiosks, which then start on it.
    const QString first = publish(source.kioskFolder(), channel, key);
    ASSERT_TRUE(owner.rescan("channel"));
    for (ShopKiosk& kiosk : kiosks) {
        ASSERT_TRUE(waitFor([&] { return kiosk.follow(line) == 0; }, 30'000)) << line.toStdString();
        EXPECT_EQ(first.toUtf8(), folder.read(kiosk.name + "/program/quindleFolder.ini").trimmed());
        kiosk.server = std::make_unique<XServer>(QSize(1920, 1080));
        ASSERT_TRUE(kiosk.server->isRunning()) << "no X server (Debian package xvfb)";
        ASSERT_TRUE(kiosk.start()) << kiosk.name.toStdString() << " did not show its window";
    }

    // A second version: each kiosk takes it, ends at its next slideshow, and is started
    // again on it as its service would be.
    QFile::copy(source.pictures(0).first(),
                source.kioskFolder() + "/" + source.categoryFolders().first() + "/New.jpg");
    // Versions are named by the second: each publish waits for the next one.
    QThread::msleep(1100);
    QElapsedTimer published;
    published.start();
    const QString second = publish(source.kioskFolder(), channel, key);
    ASSERT_TRUE(owner.rescan("channel"));
    for (ShopKiosk& kiosk : kiosks)
        ASSERT_TRUE(takes(kiosk, second)) << line.toStdString();
    const double taken = published.elapsed() / 1000.0;
    for (ShopKiosk& kiosk : kiosks) {
        ASSERT_TRUE(kiosk.process->waitForFinished(90'000))
            << kiosk.name.toStdString() << " did not take the update";
        EXPECT_EQ(0, kiosk.process->exitCode());
        ASSERT_TRUE(kiosk.start()) << kiosk.name.toStdString() << " did not start again";
    }
    const double showing = published.elapsed() / 1000.0;
    // Taking waits for Syncthing; showing waits for the kiosks' once-a-minute look at the pointer.
    std::cout << "Publish to both kiosks taking the new version: " << taken << " s, showing it: " << showing
              << " s\n";

    // A third version whose delivery to the first kiosk is cut short is not taken; once
    // Syncthing puts that kiosk's copy back as the owner has it, it is. The second kiosk takes it
    // at once. Rolled back, the first kiosk stays on the second version.
    QThread::msleep(1100);
    const QString third = publish(source.kioskFolder(), channel, key);
    ASSERT_TRUE(owner.rescan("channel"));
    ASSERT_TRUE(takes(kiosks[1], third)) << line.toStdString();
    ShopKiosk& shop = kiosks[0];
    const QString delivered = shop.channel + "/versions/" + third;
    ASSERT_TRUE(
        waitFor([&] { return sameFiles(channel + "/versions", shop.channel + "/versions"); }, 30'000));
    const QString picture = source.pictures(0).at(1).mid(source.kioskFolder().size() + 1);
    ASSERT_TRUE(QFile::remove(delivered + "/" + picture));
    EXPECT_EQ(1, shop.follow(line));
    EXPECT_EQ("quindle-admin follow: version " + third + " refused: not complete: \"" + picture +
                  "\" is missing\n",
              line);
    EXPECT_EQ(second.toUtf8(), folder.read(shop.name + "/program/quindleFolder.ini").trimmed());
    ASSERT_TRUE(shop.syncthing->rescan("channel") && shop.syncthing->revert("channel"));
    ASSERT_TRUE(takes(shop, third)) << line.toStdString();
    ASSERT_EQ(0, runAdmin({"rollback", "--program-folder", shop.programFolder}, out));
    EXPECT_EQ(0, shop.follow(line));
    EXPECT_EQ(second.toUtf8(), folder.read(shop.name + "/program/quindleFolder.ini").trimmed());

    // Both kiosks' logs arrive at the owner's machine and the fleet report counts both.
    for (ShopKiosk& kiosk : kiosks) {
        kiosk.process->terminate();
        ASSERT_TRUE(kiosk.process->waitForExit());
        const QStringList events = SystemKiosk::logEvents(kiosk.programFolder);
        const qsizetype update = events.lastIndexOf(QStringLiteral("Program Termination: Content Update"));
        ASSERT_GT(update, 0) << events.join('|').toStdString();
        EXPECT_EQ("Program Started", events.value(update + 1).toStdString());
        ASSERT_TRUE(kiosk.syncthing->rescan("logs-" + kiosk.name));
    }
    for (ShopKiosk& kiosk : kiosks)
        ASSERT_TRUE(waitFor([&] { return sameFiles(kiosk.logFolder(), fleet + "/" + kiosk.name); }, 30'000))
            << kiosk.name.toStdString() << "'s logs did not arrive";
    ASSERT_EQ(0, runAdmin({"report", "--fleet", fleet, "--output", folder.filePath("fleet.html")}, out));
    EXPECT_TRUE(out.contains(": 2 kiosks.")) << out.toStdString();
    for (const ShopKiosk& kiosk : kiosks)
        EXPECT_TRUE(out.contains(QRegularExpression(
            "\n" + kiosk.name + ": \\d+ touches, \\d+ visits, \\d+ prints, [1-9]\\d* log files")))
            << out.toStdString();
    EXPECT_TRUE(QString::fromUtf8(folder.read("fleet.html")).contains(second)) << "the first kiosk's version";
}
