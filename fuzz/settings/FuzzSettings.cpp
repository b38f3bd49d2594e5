// Feeds arbitrary bytes to the settings reader as the contents of the kiosk's "quindle.ini",
// straight from memory, with its Interface folder in memory too. The reader must neither crash
// nor hang, and the owner's check must report first exactly the problem with which the kiosk
// itself would end.

#include "settings/SettingsReader.h"
#include "settings/SettingsText.h"

#include <QByteArray>
#include <QStringList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

// The Interface folder of the kiosk being fuzzed, held in memory: a backdrop and a picture in a
// subfolder, so that backdrop statements can also succeed. A name is found as on the disk:
// without regard to case, backslashes read as slashes and empty steps skipped.
std::optional<QString> findInMemory(const QString& interfaceFolder, const QString& name)
{
    static const std::array<QString, 2> files = {QStringLiteral("back.jpg"),
                                                 QStringLiteral("Shop/Night.jpg")};
    const QString steps =
        quindle::withForwardSlashes(name).split(QLatin1Char('/'), Qt::SkipEmptyParts).join(u'/');
    for (const QString& file : files) {
        if (steps.compare(file, Qt::CaseInsensitive) == 0)
            return interfaceFolder + file;
    }
    return std::nullopt;
}

quindle::KioskSettings fuzzedKiosk()
{
    quindle::KioskSettings settings;
    settings.kioskFolder = QStringLiteral("Kiosk");
    settings.kioskFolderPath = QStringLiteral("/shop/Kiosk");
    settings.interfaceFolder = QStringLiteral("/shop/Kiosk/Interface/");
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const quindle::KioskSettings kiosk = fuzzedKiosk();
    static const QString settingsFile = QStringLiteral("/shop/Kiosk/quindle.ini");
    const QString text = quindle::decodeSettingsText(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    const quindle::SettingsReport first = quindle::readSettingsText(
        text, kiosk, settingsFile, quindle::ProblemHandling::StopAtFirst, findInMemory);
    const quindle::SettingsReport all = quindle::readSettingsText(
        text, kiosk, settingsFile, quindle::ProblemHandling::CollectAll, findInMemory);
    if (first.ok() != all.ok())
        std::abort();
    if (!first.ok() && first.problems.front().message != all.problems.front().message)
        std::abort();
    if (first.ok() && first.settings.menuEntryCount() < 1)
        std::abort();
    return 0;
}
