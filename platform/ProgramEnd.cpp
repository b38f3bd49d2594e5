#include "platform/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>

namespace quindle {

void ImmediateProgramEnd::end(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

} // namespace quindle
