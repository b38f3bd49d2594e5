#pragma once

#include "platform/ClickSound.h"

#include <QString>
#include <memory>

class QSoundEffect;
class QTemporaryFile;

namespace quindle {

// The real click, played through the system's sound server.
class EffectClickSound final : public ClickSound
{
public:
    EffectClickSound();
    ~EffectClickSound() override;
    void setSource(const QString& path) override;
    bool hasSource() const override { return !m_path.isEmpty(); }
    void play() override;

private:
    static constexpr int minimumMilliseconds = 250;
    QString playablePath(const QString& path);

    QString m_path;
    std::unique_ptr<QSoundEffect> m_effect;
    std::unique_ptr<QTemporaryFile> m_paddedCopy; // what the effect plays when the file is too short
};

} // namespace quindle
