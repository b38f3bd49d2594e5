#pragma once

#include "tools/admin/AdminCommands.h"

#include <QStringList>

namespace quindle::test {

// Runs the owner's program with these arguments after its name: its exit status, and in out
// what it wrote to its standard output.
inline int runAdmin(const QStringList& arguments, QString& out)
{
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = admin::runAdmin(QStringList{QStringLiteral("quindle-admin")} + arguments, {},
                                       {outStream, errStream, false});
    outStream.flush();
    return status;
}

} // namespace quindle::test
