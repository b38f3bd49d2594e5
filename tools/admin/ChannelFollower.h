#pragma once

#include <QString>

namespace quindle::admin {

struct FollowRequest
{
    QString channel;
    QString trustFile;
    QString programFolder;
    qint64 maxBytes = 20'000'000'000;
    qsizetype maxFiles = 200'000;
};

struct FollowOutcome
{
    enum class Result {
        Taken,    // copied in, and the pointer names it now
        NoChange, // the pointer names it already, or the owner rolled back from it
        Refused,  // incomplete, damaged, not trusted or would not start: nothing changed
    };
    Result result = Result::Refused;
    QString version;
    QString message; // one line
};

// Takes the version the channel's "current" names into the program folder, or leaves
// everything as it is and says why. A delivered folder is untrusted: its manifest must be
// signed by a key of the trust file, every path must stay inside the version, no link or
// special file may stand in it, and every file must have the manifest's size and hash.
// Nothing is written outside the program folder and no link is followed.
FollowOutcome followChannel(const FollowRequest& request);

// Points the program folder back at the version before the current one.
FollowOutcome rollBack(const QString& programFolder);

} // namespace quindle::admin
