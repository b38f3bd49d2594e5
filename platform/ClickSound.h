#pragma once

#include <QString>
#include <memory>

class QSoundEffect;

namespace quindle {

// The click of every press. Without a sound file, or without an audio device, it is silent.
class ClickSound
{
public:
    virtual ~ClickSound() = default;
    virtual void setSource(const QString& path) = 0;
    virtual bool hasSource() const = 0;
    virtual void play() = 0;
};

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
