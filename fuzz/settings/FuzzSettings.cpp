// Feeds arbitrary bytes to the settings reader as the kiosk's "quindle.ini". The reader
// must neither crash nor hang, and the owner's check must report first exactly the problem
// with which the kiosk itself would end.

#include "settings/SettingsReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// One program folder for the whole run: its pointer file names "Kiosk", whose Interface
// folder holds a backdrop so that backdrop statements can also succeed.
class FuzzKiosk
{
public:
    FuzzKiosk()
    {
        QDir(m_folder.path()).mkpath(QStringLiteral("Kiosk/Interface/Shop"));
        write(QStringLiteral("quindleFolder.ini"), "Kiosk\r\n");
        write(QStringLiteral("Kiosk/Interface/back.jpg"), "not a picture");
        write(QStringLiteral("Kiosk/Interface/Shop/Night.jpg"), "not a picture");
    }

    QString programFolder() const { return m_folder.path(); }

    void write(const QString& relative, const QByteArray& bytes) const
    {
        QFile file(m_folder.filePath(relative));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort(); // the harness itself is broken: no input result would mean anything
    }

private:
    QTemporaryDir m_folder;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzKiosk kiosk;
    kiosk.write(QStringLiteral("Kiosk/quindle.ini"),
                QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    const quindle::SettingsReader reader(kiosk.programFolder());
    const quindle::SettingsResult result = reader.read();
    const quindle::SettingsReport report = reader.readAll();
    if (result.ok() != report.ok())
        std::abort();
    if (!result.ok() && result.message != report.problems.front().message)
        std::abort();
    if (result.ok() && result.settings->menuEntryCount() < 1)
        std::abort();
    return 0;
}
