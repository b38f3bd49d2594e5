#pragma once

#include <QString>

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

} // namespace quindle
