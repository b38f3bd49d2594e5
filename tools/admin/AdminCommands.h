#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace quindle::admin {

// Where a command writes: its results to out, progress and faults to err. Progress lines
// are drawn only when err is a terminal.
struct CommandStreams
{
    QTextStream& out;
    QTextStream& err;
    bool errIsTerminal = false;
};

// The owner's program: "quindle-admin check|thumbnails|report [options]". arguments holds
// the program name first, as QCoreApplication::arguments() gives it; defaultProgramFolder
// is used without --program-folder. Returns the exit status: 0 done (check: the kiosk
// would start and run), 1 not (check: it would not; others: a failure), 2 a usage fault.
int runAdmin(const QStringList& arguments, const QString& defaultProgramFolder, CommandStreams streams);

// "12 of 2,000 thumbnails  18.5 a second  1:42 left" for a progress line.
QString progressText(int done, int total, double seconds);

} // namespace quindle::admin
