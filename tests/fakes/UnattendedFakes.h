#pragma once

#include "unattended/SystemRestart.h"
#include "unattended/WatchdogLibrary.h"

#include <QHash>
#include <QStringList>
#include <functional>

namespace quindle::test {

// Records every restart request and answers with a set outcome; nothing restarts.
struct FakeSystemRestart final : SystemRestart
{
    RestartOutcome requestRestart() override
    {
        ++requests;
        if (onRequest)
            onRequest();
        return outcome;
    }
    RestartOutcome outcome;
    int requests = 0;
    std::function<void()> onRequest;
};

// A card that records every command by name: "enable", "disable", "tick", or the bytes in
// hexadecimal of any other; it takes them all but those named in failing.
struct FakeWatchdogLibrary final : WatchdogLibrary
{
    bool open() override { return true; }
    void init() override {}
    unsigned char sendCommand(const unsigned char* command) override
    {
        const QString bytes =
            QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(command), 3).toHex(' '));
        const QString name = QHash<QString, QString>{
            {"30 ff ff", "enable"},
            {"30 c3 a5", "disable"},
            {"02 00 00", "tick"}}.value(bytes, bytes);
        commands.append(name);
        return failing.contains(name) ? 0 : 1;
    }
    QStringList commands;
    QStringList failing;
};

} // namespace quindle::test
