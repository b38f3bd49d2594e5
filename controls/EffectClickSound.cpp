#include "controls/EffectClickSound.h"

#include <QSoundEffect>
#include <QUrl>

namespace quindle {

EffectClickSound::EffectClickSound() = default;
EffectClickSound::~EffectClickSound() = default;

void EffectClickSound::setSource(const QString& path)
{
    m_path = path;
    // The effect is made only when there is something to play, so that a kiosk without
    // "click.wav" never touches the audio system at all.
    if (!m_effect)
        m_effect = std::make_unique<QSoundEffect>();
    m_effect->setSource(QUrl::fromLocalFile(path));
}

void EffectClickSound::play()
{
    if (!m_effect || m_path.isEmpty())
        return;
    // A sound still playing is cut short by the next click instead of queueing clicks up.
    m_effect->stop();
    m_effect->play();
}

} // namespace quindle
