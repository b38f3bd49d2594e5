#include "platform/Services.h"

#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"

namespace quindle {

void Services::endWithMessage(const QString& text) const
{
    messages.show(text);
    programEnd.end(1);
}

} // namespace quindle
