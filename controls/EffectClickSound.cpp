#include "controls/EffectClickSound.h"

#include "platform/WavePadding.h"

#include <QDir>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryFile>
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
    m_effect->setSource(QUrl::fromLocalFile(playablePath(path)));
}

// A click shorter than the sound server's pre-buffer would never start playing, so such a
// file is played from a copy with silence after it.
QString EffectClickSound::playablePath(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return path;
    const QByteArray wave = file.readAll();
    const QByteArray padded = wavePaddedTo(wave, minimumMilliseconds);
    if (padded == wave)
        return path;
    m_paddedCopy =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/quindle-click-XXXXXX.wav"));
    if (!m_paddedCopy->open() || m_paddedCopy->write(padded) != padded.size() || !m_paddedCopy->flush())
        return path;
    return m_paddedCopy->fileName();
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
