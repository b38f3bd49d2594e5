#pragma once

#include "platform/ClickSound.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"
#include "printing/PrintSpooler.h"
#include "shell/MachineServices.h"
#include "unattended/ServiceNotifier.h"
#include "unattended/SystemRestart.h"
#include "unattended/WatchdogLibrary.h"

#include <QStringList>
#include <cerrno>
#include <utility>

namespace quindle::admin {

// The messages the kiosk would show in a box are kept for the owner's list. A message the
// kiosk would end with is written to standard error, as the kiosk's own words, before the
// preview ends with the kiosk's status.
class PreviewMessages final : public MessageBox, public ProgramEnd
{
public:
    void show(const QString& text) override { m_shown.append(text); }
    [[noreturn]] void end(int status) override;

    // Takes the messages shown since the last call.
    QStringList takeShown() { return std::exchange(m_shown, {}); }

private:
    QStringList m_shown;
};

class SilentClickSound final : public ClickSound
{
public:
    void setSource(const QString&) override {}
    bool hasSource() const override { return false; }
    void play() override {}
};

// The machine's services as the preview hands them to the kiosk window: none of them reaches
// a printer, the watchdog card, the service manager or the computer's restart.
class DetachedMachine final : public PrintSpooler,
                              public SystemRestart,
                              public WatchdogLibrary,
                              public ServiceNotifier
{
public:
    PrintOutcome printRawFile(const QString&) override { return PrintOutcome::NoPrinter; }
    PrintOutcome printPicture(const QString&, const QRectF&) override { return PrintOutcome::NoPrinter; }
    RestartOutcome requestRestart() override { return RestartOutcome{EPERM, QStringLiteral("a preview")}; }
    bool open() override { return false; }
    void init() override {}
    unsigned char sendCommand(const unsigned char*) override { return 0; }
    void notifyReady() override {}
    void notifyAlive() override {}

    MachineServices services() { return MachineServices{*this, *this, *this, *this}; }
};

} // namespace quindle::admin
