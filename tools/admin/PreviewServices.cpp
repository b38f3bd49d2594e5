#include "tools/admin/PreviewServices.h"

namespace quindle::admin {

void PreviewMessages::end(int status)
{
    writeMessageToStandardError(m_shown.value(m_shown.size() - 1));
    ImmediateProgramEnd().end(status);
}

} // namespace quindle::admin
