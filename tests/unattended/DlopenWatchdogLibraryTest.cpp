#include "unattended/DlopenWatchdogLibrary.h"

#include "fakes/FakeServices.h"
#include "support/TempFolder.h"
#include "unattended/Watchdog.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// Reaches the recording library's own settings through a second handle on the same
// loaded object.
class RecordingLibraryControl
{
public:
    RecordingLibraryControl() : m_handle(dlopen(RECORDING_WATCHDOG_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~RecordingLibraryControl()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    RecordingLibraryControl(const RecordingLibraryControl&) = delete;
    RecordingLibraryControl& operator=(const RecordingLibraryControl&) = delete;

    bool loaded() const { return m_handle != nullptr; }
    void setFile(const QString& path)
    {
        const auto set = reinterpret_cast<void (*)(const char*)>(dlsym(m_handle, "RecordingWatchdogSetFile"));
        set(path.toLocal8Bit().constData());
    }
    void setResult(unsigned char result)
    {
        const auto set =
            reinterpret_cast<void (*)(unsigned char)>(dlsym(m_handle, "RecordingWatchdogSetResult"));
        set(result);
    }

private:
    void* m_handle;
};

struct RecordingRig
{
    RecordingRig() : library(QStringLiteral(RECORDING_WATCHDOG_PATH))
    {
        control.setFile(folder.filePath(QStringLiteral("received.txt")));
        control.setResult(1);
    }
    ~RecordingRig() { control.setFile(QString()); }
    RecordingRig(const RecordingRig&) = delete;
    RecordingRig& operator=(const RecordingRig&) = delete;

    QString received() const { return QString::fromLatin1(folder.read(QStringLiteral("received.txt"))); }

    TempFolder folder;
    RecordingLibraryControl control;
    DlopenWatchdogLibrary library;
    FakeMessageBox messageBox;
};

} // namespace

TEST(DlopenWatchdogLibrary, PassesTheThreeCommandBytesAndTheResult)
{
    RecordingRig rig;
    ASSERT_TRUE(rig.control.loaded());
    ASSERT_TRUE(rig.library.open()) << rig.library.loadError().constData();
    rig.library.init();
    EXPECT_EQ(1, rig.library.sendCommand(Watchdog::disableCommand));
    rig.control.setResult(7);
    EXPECT_EQ(7, rig.library.sendCommand(Watchdog::tickCommand));
    EXPECT_EQ(QStringLiteral("init\n30 c3 a5\n02 00 00\n"), rig.received());
}

TEST(DlopenWatchdogLibrary, WatchdogDrivesTheLoadedLibrary)
{
    RecordingRig rig;
    Watchdog watchdog(true, rig.folder.path(), rig.library, rig.messageBox);
    watchdog.start();
    for (int call = 0; call < 11; ++call)
        watchdog.tickle();
    watchdog.disable();
    EXPECT_EQ(QStringLiteral("init\n30 ff ff\n02 00 00\n02 00 00\n02 00 00\n30 c3 a5\n"), rig.received());
    EXPECT_TRUE(rig.messageBox.messages.isEmpty());
}

TEST(DlopenWatchdogLibrary, RefusedEnableSendsNoTick)
{
    RecordingRig rig;
    rig.control.setResult(0);
    Watchdog watchdog(true, rig.folder.path(), rig.library, rig.messageBox);
    watchdog.start();
    EXPECT_EQ(QStringLiteral("init\n30 ff ff\n"), rig.received());
    EXPECT_EQ(QStringList{QStringLiteral("Could not re-enable watchdog")}, rig.messageBox.messages);
}

TEST(DlopenWatchdogLibrary, MissingLibrarySwitchesTheWatchdogOff)
{
    TempFolder folder;
    DlopenWatchdogLibrary library(folder.filePath(QStringLiteral("libwdogusb.so")));
    FakeMessageBox messageBox;
    Watchdog watchdog(true, folder.path(), library, messageBox);
    watchdog.start();
    for (int call = 0; call < 11; ++call)
        watchdog.tickle();
    watchdog.disable();
    const QStringList expected{QStringLiteral(
        "Missing required file \"libwdogusb.so\" for the USB watchdog - disabling this option.")};
    EXPECT_EQ(expected, messageBox.messages);
    EXPECT_FALSE(watchdog.isEnabled());
    EXPECT_EQ(0, library.sendCommand(Watchdog::tickCommand));
}

TEST(DlopenWatchdogLibrary, LibraryWithoutTheEntryPointsIsRefused)
{
    DlopenWatchdogLibrary library(QStringLiteral("libm.so.6"));
    EXPECT_FALSE(library.open());
    EXPECT_FALSE(library.loadError().isEmpty());
    EXPECT_EQ(0, library.sendCommand(Watchdog::tickCommand));
}

TEST(DlopenWatchdogLibrary, ProjectLibraryHasBothEntryPoints)
{
    // Only loaded, never called: initialising it would open the machine's watchdog device.
    DlopenWatchdogLibrary library(QStringLiteral(WDOGUSB_LIBRARY_PATH));
    EXPECT_TRUE(library.open()) << library.loadError().constData();
}
