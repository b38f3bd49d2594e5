#pragma once

#include "platform/ClickSound.h"

#include <QString>
#include <memory>

class QSoundEffect;

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
    QString m_path;
    std::unique_ptr<QSoundEffect> m_effect;
};

} // namespace quindle
