#pragma once

namespace quindle {

// Tells the service manager that started the kiosk how it is doing.
class ServiceNotifier
{
public:
    virtual ~ServiceNotifier() = default;
    // Once, when start-up has finished and the window is on screen.
    virtual void notifyReady() = 0;
    // Every tick, from the user-interface thread: a kiosk whose thread hangs stops
    // sending, and the service manager restarts it.
    virtual void notifyAlive() = 0;
};

} // namespace quindle
