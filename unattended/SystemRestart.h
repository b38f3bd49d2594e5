#pragma once

#include <QString>

namespace quindle {

// What became of a restart request: accepted, or refused with an error number
// (an errno value: EACCES when logind refused, EPERM when systemctl failed,
// ENOENT when neither logind nor systemctl could be reached).
struct RestartOutcome
{
    int error = 0;
    // Why the restart was refused, in plain words for the system journal.
    QString reason = {};

    bool ok() const { return error == 0; }
};

// Asks the operating system for an orderly restart of the computer: every program,
// the kiosk included, is closed by the system. The call returns once the request
// has been accepted or refused; the kiosk does not end by itself.
class SystemRestart
{
public:
    virtual ~SystemRestart() = default;
    virtual RestartOutcome requestRestart() = 0;
};

} // namespace quindle
