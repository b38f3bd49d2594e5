#include "support/KioskFolder.h"
#include "system/admin/AdminRun.h"
#include "tools/admin/ChannelFollower.h"
#include "tools/admin/Manifest.h"
#include "tools/admin/OwnerKey.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quindle::admin;
using quindle::test::KioskFolder;

namespace {

void replaceFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// An owner's key, a kiosk folder published once into a channel, and a kiosk's program
// folder that trusts the key and runs the kiosk folder "Kiosk" of its own.
struct Fleet
{
    KioskFolder owner;
    KioskFolder kiosk;
    QString channel = owner.temp().filePath("channel");
    QString version;
    FollowRequest request{channel, kiosk.temp().filePath("trusted-publishers"), kiosk.programFolder()};

    Fleet()
    {
        owner.writeStandardKiosk();
        kiosk.writeStandardKiosk();
        EXPECT_EQ(QString(), OwnerKey::generate(owner.temp().path()));
        QFile::copy(owner.temp().filePath("owner.pub"), kiosk.temp().filePath("trusted-publishers"));
        version = quindle::test::publish(owner.kioskFolder(), channel, owner.temp().filePath("owner.key"));
    }
    QString delivered(const QString& path) const { return channel + "/versions/" + version + "/" + path; }
    QString manifestPath() const { return channel + "/versions/" + version + ".manifest"; }
    QByteArray manifest() const { return owner.temp().read("channel/versions/" + version + ".manifest"); }

    // Rewrites the manifest's entries and signs it with the key file, by default the owner's.
    void resign(const std::function<void(std::vector<ManifestEntry>&)>& change, QString keyFile = {}) const
    {
        QString error;
        Manifest read = *readManifest(manifest(), error);
        change(read.entries);
        const auto key =
            OwnerKey::load(keyFile.isEmpty() ? owner.temp().filePath("owner.key") : keyFile, error);
        replaceFile(manifestPath(), manifestText(version, read.entries, *key));
    }
};

} // namespace

// A version changed anywhere after it was signed, delivered in part, or too large is left
// alone with its reason, and the kiosk goes on with the folder it has.
TEST(ChannelFollow, RefusedVersionsLeaveTheKioskAlone)
{
    const struct
    {
        const char* name;
        std::function<void(Fleet&)> change;
        QString reason; // how the line goes on after "version <name> "
    } cases[] = {
        {"still arriving",
         [](Fleet& f) {
             QFile::rename(f.delivered("Rings/Item 01.jpg"), f.delivered("Rings/.syncthing.Item 01.jpg.tmp"));
         },
         "refused: not complete: \"Rings/.syncthing.Item 01.jpg.tmp\" is still arriving"},
        {"manifest missing", [](Fleet& f) { QFile::remove(f.manifestPath()); },
         "is not complete: its manifest has not arrived"},
        {"picture replaced, same size",
         [](Fleet& f) {
             replaceFile(f.delivered("Rings/Item 02.jpg"),
                         f.owner.temp().read("Kiosk/Rings/Item 02.jpg").chopped(3) + "xyz");
         },
         "refused: \"Rings/Item 02.jpg\" differs from the manifest (SHA-256)"},
        {"picture replaced", [](Fleet& f) { replaceFile(f.delivered("Rings/Item 02.jpg"), "other"); },
         "refused: not complete: \"Rings/Item 02.jpg\" has 5 bytes"},
        {"unlisted file", [](Fleet& f) { replaceFile(f.delivered("Rings/extra.jpg"), "x"); },
         "refused: \"Rings/extra.jpg\" is not listed in the manifest"},
        {"link to /etc", [](Fleet& f) { QFile::link("/etc", f.delivered("Rings/etc")); },
         "refused: \"Rings/etc\" is a symbolic link"},
        {"special file", [](Fleet& f) { ::mkfifo(QFile::encodeName(f.delivered("fifo")).constData(), 0600); },
         "refused: \"fifo\" is a special file"},
        {"\"..\" entry", [](Fleet& f) { f.resign([](auto& e) { e.front().path = "../../escape.jpg"; }); },
         "refused: \"../../escape.jpg\" in the manifest: a \"..\" step"},
        {"absolute entry", [](Fleet& f) { f.resign([](auto& e) { e.front().path = "/etc/passwd"; }); },
         "refused: \"/etc/passwd\" in the manifest: an absolute path"},
        {"another key",
         [](Fleet& f) {
             OwnerKey::generate(f.kiosk.temp().path());
             f.resign([](auto&) {}, f.kiosk.temp().filePath("owner.key"));
         },
         "refused: signed by a key not in "},
        {"manifest changed after signing",
         [](Fleet& f) {
             replaceFile(f.manifestPath(), f.manifest().replace(" Rings/Item 03.jpg", " Rings/Item 3.jpg"));
         },
         "refused: bad signature"},
        {"no signature",
         [](Fleet& f) {
             replaceFile(f.manifestPath(), f.manifest().first(f.manifest().indexOf("signed-by")));
         },
         "refused: missing signature"},
        {"over the file limit", [](Fleet& f) { f.request.maxFiles = 10; },
         "refused: larger than the limit of 10 files"},
        {"settings file gone",
         [](Fleet& f) {
             QFile::remove(f.delivered("quindle.ini"));
             f.resign([](auto& e) {
                 std::erase_if(e, [](const ManifestEntry& m) { return m.path == "quindle.ini"; });
             });
         },
         "would not start the kiosk: "},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        Fleet fleet;
        row.change(fleet);
        const FollowOutcome outcome = followChannel(fleet.request);
        EXPECT_EQ(FollowOutcome::Result::Refused, outcome.result);
        const QString start = "version " + fleet.version + " ";
        EXPECT_EQ(start + row.reason, outcome.message.left(start.size() + row.reason.size()));
        EXPECT_EQ(QByteArray("Kiosk\r\n"), fleet.kiosk.temp().read("quindleFolder.ini"));
        EXPECT_EQ(
            QStringList{"Kiosk"},
            QDir(fleet.kiosk.programFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden));
    }
}

// A kiosk folder the kiosk would not start on is not published.
TEST(ChannelPublish, RefusesAFolderThatFailsTheCheck)
{
    KioskFolder owner;
    owner.writeStandardKiosk();
    QFile::remove(owner.temp().filePath("Kiosk/quindle.ini"));
    OwnerKey::generate(owner.temp().path());
    QString out;
    EXPECT_EQ(1, quindle::test::runAdmin({"publish", owner.kioskFolder(), "--channel",
                                          owner.temp().filePath("channel"), "--key",
                                          owner.temp().filePath("owner.key")},
                                         out));
    EXPECT_TRUE(out.startsWith("Kiosk/quindle.ini: error: ")) << out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(owner.temp().filePath("channel/current")));
}
