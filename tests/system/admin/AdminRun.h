#pragma once

#include "tools/admin/AdminCommands.h"

#include <gtest/gtest.h>

namespace quindle::test {

// Runs the owner's program with these arguments after its name: its exit status, and in out what
// it wrote to its standard output and error, as a terminal shows both.
inline int runAdmin(const QStringList& arguments, QString& out)
{
    QTextStream stream(&out);
    return admin::runAdmin(QStringList{"quindle-admin"} + arguments, {}, {stream, stream, false});
}

// Publishes the kiosk folder into the channel, signed with the key file: the version's name.
inline QString publish(const QString& kioskFolder, const QString& channel, const QString& keyFile)
{
    QString out;
    EXPECT_EQ(0, runAdmin({"publish", kioskFolder, "--channel", channel, "--key", keyFile}, out))
        << out.toStdString();
    return out.section(' ', 2, 2).chopped(2);
}

} // namespace quindle::test
