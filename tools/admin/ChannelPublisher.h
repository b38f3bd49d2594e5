#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quindle::admin {

struct PublishRequest
{
    QString source;  // a kiosk folder (the one a pointer file names)
    QString channel; // the folder shared send-only to the kiosks
    QString keyFile;
    int keep = 5;
};

struct PublishOutcome
{
    QString version;      // set when published
    QString error;        // one line, when not
    QStringList problems; // the check's findings that stopped it
};

// Checks the kiosk folder as the kiosk would read it, then copies it into the channel as
// "versions/<UTC time>/", writes the version's signed manifest beside it once every file is
// in, and only then names it in "current". Kiosks take nothing before the manifest and
// "current" are there, so a publish cut short is never taken.
PublishOutcome publishVersion(const PublishRequest& request, const QDateTime& nowUtc);

} // namespace quindle::admin
