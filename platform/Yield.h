#pragma once

namespace quindle {

// Runs the handlers of screen events that are waiting, then returns: the kiosk's only
// way of letting a press, a release or a timer tick in while a handler is still running.
void yieldToScreen();

} // namespace quindle
