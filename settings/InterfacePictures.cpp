#include "settings/InterfacePictures.h"

namespace quindle {

std::vector<InterfacePicture> interfacePicturesFor(const KioskSettings& settings)
{
    using enum PictureNeed;
    std::vector<InterfacePicture> pictures;
    const auto add = [&pictures](PictureNeed need, const QString& fileName, const QString& role,
                                 const QString& key) {
        pictures.push_back({fileName, need, role, key});
    };

    for (int n = 1; n <= settings.menuEntryCount(); ++n) {
        const QString key = QStringLiteral("btn%1").arg(n);
        add(Required, key + QStringLiteral(".jpg"), QStringLiteral("menu button"), key);
        add(Expected, QLatin1Char('_') + key + QStringLiteral(".jpg"), QStringLiteral("pressed menu button"),
            key);
    }
    for (const char* button : {"prev", "close", "next"}) {
        const QString key = QLatin1String(button);
        add(Required, key + QStringLiteral(".jpg"), key + QStringLiteral(" button"), key);
        add(Expected, QLatin1Char('_') + key + QStringLiteral(".jpg"), QStringLiteral("pressed ") + key, key);
        if (key != QLatin1String("close"))
            add(Expected, QLatin1Char('-') + key + QStringLiteral(".jpg"), QStringLiteral("disabled ") + key,
                key);
    }
    add(Required, QStringLiteral("-close.jpg"), QStringLiteral("disabled close"), QStringLiteral("close"));

    if (settings.printingMode != PrintingMode::None) {
        const QString print = QStringLiteral("print");
        add(Required, QStringLiteral("print.jpg"), QStringLiteral("print button"), print);
        add(Required, QStringLiteral("-print.jpg"), QStringLiteral("disabled print"), print);
        add(Expected, QStringLiteral("_print.jpg"), QStringLiteral("pressed print"), print);
    }
    add(Expected, QStringLiteral("_thumbnail.jpg"), QStringLiteral("pressed thumbnail"), QString());
    if (!settings.lookupEnabled)
        return pictures;

    const QString lookup = QStringLiteral("lookup");
    add(Required, QStringLiteral("lookup.jpg"), QStringLiteral("lookup button"), lookup);
    add(Expected, QStringLiteral("keyboardFrame.jpg"), QStringLiteral("keyboard frame"), lookup);
    add(Expected, QStringLiteral("keyboardInput.jpg"), QStringLiteral("keyboard input strip"), lookup);
    add(Expected, QStringLiteral("keyboard.jpg"), QStringLiteral("keyboard keys"),
        QStringLiteral("keyboard"));
    add(Expected, QStringLiteral("noResults.jpg"), QStringLiteral("search without hits"), lookup);
    add(Expected, QStringLiteral("_kbd.jpg"), QStringLiteral("pressed key"), lookup);
    for (const char* button : {"cancel", "clear", "space", "search"}) {
        const QString name = QLatin1String(button) + QStringLiteral(".jpg");
        add(Expected, name, QStringLiteral("keyboard button"), lookup);
        add(Expected, QLatin1Char('_') + name, QStringLiteral("pressed keyboard button"), lookup);
    }
    return pictures;
}

} // namespace quindle
