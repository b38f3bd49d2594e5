#pragma once

#include "tools/admin/AdminCommands.h"

namespace quindle::test {

// Runs the owner's program with these arguments after its name: its exit status, and in out what
// it wrote to its standard output.
inline int runAdmin(const QStringList& arguments, QString& out)
{
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    return admin::runAdmin(QStringList{"quindle-admin"} + arguments, {}, {outStream, errStream, false});
}

} // namespace quindle::test
