#pragma once

#include "tools/admin/AdminCommands.h"

namespace quindle::test {

// Runs the owner's program with these arguments after its name: its exit status, and in out what
// it wrote to its standard output and error, as a terminal shows both.
inline int runAdmin(const QStringList& arguments, QString& out)
{
    QTextStream stream(&out);
    return admin::runAdmin(QStringList{"quindle-admin"} + arguments, {}, {stream, stream, false});
}

} // namespace quindle::test
