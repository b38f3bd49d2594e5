#include "platform/Yield.h"

#include <QCoreApplication>

namespace quindle {

void yieldToScreen()
{
    QCoreApplication::processEvents();
}

} // namespace quindle
