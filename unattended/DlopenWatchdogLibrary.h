#pragma once

#include "unattended/WatchdogLibrary.h"

#include <QByteArray>
#include <QString>

namespace quindle {

// The watchdog library as a shared object with the C entry points
//   void WDogInit(void);
//   unsigned char WDogSendCommand(const unsigned char* command);
// A bare name is found through the system's library search; a path is loaded as it is.
class DlopenWatchdogLibrary final : public WatchdogLibrary
{
public:
    static constexpr const char* defaultName = "libwdogusb.so";

    explicit DlopenWatchdogLibrary(QString nameOrPath = QString::fromLatin1(defaultName));
    ~DlopenWatchdogLibrary() override;
    DlopenWatchdogLibrary(const DlopenWatchdogLibrary&) = delete;
    DlopenWatchdogLibrary& operator=(const DlopenWatchdogLibrary&) = delete;

    bool open() override;
    void init() override;
    unsigned char sendCommand(const unsigned char* command) override;

    // Why the last open() failed, as the loader put it.
    const QByteArray& loadError() const { return m_loadError; }

private:
    using InitFunction = void (*)();
    using SendCommandFunction = unsigned char (*)(const unsigned char*);

    void close();

    QString m_nameOrPath;
    void* m_handle = nullptr;
    InitFunction m_init = nullptr;
    SendCommandFunction m_sendCommand = nullptr;
    QByteArray m_loadError;
};

} // namespace quindle
