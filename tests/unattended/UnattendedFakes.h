#pragma once

#include "unattended/SystemRestart.h"
#include "unattended/WatchdogLibrary.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace quindle::test {

// Records every restart request and answers with a set outcome; nothing restarts.
class FakeSystemRestart final : public SystemRestart
{
public:
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

// Names the three card commands, so that tests read as the card's log would.
inline QString commandName(const unsigned char* command)
{
    if (command[0] == 0x30 && command[1] == 0xFF && command[2] == 0xFF)
        return QStringLiteral("enable");
    if (command[0] == 0x30 && command[1] == 0xC3 && command[2] == 0xA5)
        return QStringLiteral("disable");
    if (command[0] == 0x02 && command[1] == 0x00 && command[2] == 0x00)
        return QStringLiteral("tick");
    return QStringLiteral("%1 %2 %3").arg(command[0]).arg(command[1]).arg(command[2]);
}

// Records what the card was sent; each command's result can be set by its name.
class FakeWatchdogLibrary final : public WatchdogLibrary
{
public:
    bool open() override
    {
        ++opens;
        return loadable;
    }
    void init() override { calls.append(QStringLiteral("init")); }
    unsigned char sendCommand(const unsigned char* command) override
    {
        const QString name = commandName(command);
        calls.append(name);
        if (failing.contains(name))
            return 0;
        return 1;
    }

    QStringList commands() const
    {
        QStringList sent = calls;
        sent.removeAll(QStringLiteral("init"));
        return sent;
    }

    bool loadable = true;
    int opens = 0;
    QStringList calls;   // init and commands, in order
    QStringList failing; // names of the commands the card refuses
};

} // namespace quindle::test
