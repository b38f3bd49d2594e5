#include "platform/Services.h"

#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"

#include <cstdlib>

namespace quindle {

void Services::endWithMessage(const QString& text) const
{
    messages.show(text);
    programEnd.end(1);
    // An ending that returned would leave the kiosk running on a fault.
    std::abort();
}

} // namespace quindle
