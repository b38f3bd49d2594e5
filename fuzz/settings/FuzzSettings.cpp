// Feeds arbitrary bytes to the settings reader as the contents of the kiosk's "quindle.ini",
// straight from memory. The reader must neither crash nor hang, and the owner's check must
// report first exactly the problem with which the kiosk itself would end.

#include "platform/FileSystem.h"
#include "settings/SettingsReader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// One kiosk folder for the whole run, whose Interface folder holds a backdrop so that
// backdrop statements can also succeed. The settings file itself never goes to disk.
class FuzzKiosk
{
public:
    FuzzKiosk()
    {
        QDir(m_folder.path()).mkpath(QStringLiteral("Kiosk/Interface/Shop"));
        write(QStringLiteral("Kiosk/Interface/back.jpg"));
        write(QStringLiteral("Kiosk/Interface/Shop/Night.jpg"));
        m_settings.kioskFolder = QStringLiteral("Kiosk");
        m_settings.kioskFolderPath = m_folder.filePath(QStringLiteral("Kiosk"));
        m_settings.interfaceFolder = m_folder.filePath(QStringLiteral("Kiosk/Interface/"));
    }

    const quindle::KioskSettings& settings() const { return m_settings; }
    QString settingsFile() const
    {
        return quindle::joinPath(m_settings.kioskFolderPath, QStringLiteral("quindle.ini"));
    }

private:
    void write(const QString& relative) const
    {
        QFile file(m_folder.filePath(relative));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write("not a picture") < 0)
            std::abort(); // the harness itself is broken: no input result would mean anything
    }

    QTemporaryDir m_folder;
    quindle::KioskSettings m_settings;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzKiosk kiosk;
    static const QString settingsFile = kiosk.settingsFile();
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const quindle::SettingsReport first = quindle::readSettingsBytes(bytes, kiosk.settings(), settingsFile,
                                                                     quindle::ProblemHandling::StopAtFirst);
    const quindle::SettingsReport all = quindle::readSettingsBytes(bytes, kiosk.settings(), settingsFile,
                                                                   quindle::ProblemHandling::CollectAll);
    if (first.ok() != all.ok())
        std::abort();
    if (!first.ok() && first.problems.front().message != all.problems.front().message)
        std::abort();
    if (first.ok() && first.settings.menuEntryCount() < 1)
        std::abort();
    return 0;
}
