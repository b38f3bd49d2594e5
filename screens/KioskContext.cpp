#include "screens/KioskContext.h"

#include "platform/ClickSound.h"

namespace quindle {

void KioskContext::playClick() const
{
    if (services.sound.hasSource())
        services.sound.play();
}

QString KioskContext::interfacePath(const QString& fileName) const
{
    return interfacePicture(settings.interfaceFolder, fileName);
}

} // namespace quindle
