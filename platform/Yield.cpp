#include "platform/Yield.h"

#include <QCoreApplication>

namespace quindle {

// A change to a control on a scaled screen reaches the screen in three turns of the event
// loop, each posting the next: the scene gathers what changed, the view asks for a repaint,
// the repaint is made. On an unscaled screen the later turns find nothing to do.
void yieldToScreen()
{
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

} // namespace quindle
