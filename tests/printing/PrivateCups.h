#pragma once

#include "support/TempFolder.h"

#include <QProcess>

namespace quindle::test {

// One job as the capture backend received it.
struct CapturedJob
{
    int id = 0;
    QString title;
    QByteArray data;
};

// A private CUPS scheduler for one test program: its own configuration, spool and log
// folders in a temporary folder, a Unix socket there and no network port, so that it never
// meets the machine's own scheduler and several test programs can run side by side. Its
// queues print to a small capture backend that keeps each job's bytes and title.
//
// While it exists, CUPS_SERVER points this process (and every program it starts) at the
// private socket, and the client settings that could name another default printer
// (LPDEST, PRINTER, the system's client configuration) are kept out.
class PrivateCups
{
public:
    PrivateCups() { m_running = start(); }
    ~PrivateCups();

    // Why the scheduler is not running, or what went wrong last.
    QString problem() const { return m_problem; }
    // True when the programs it needs are not installed: a reason to skip, not to fail.
    bool isMissingPrograms() const { return m_missingPrograms; }

    // Queue administration with the ordinary CUPS tools. Each returns false, and adds the
    // tool's output to problem(), when the scheduler is not running or the tool fails.
    // A capture queue without a printer description is raw: it hands every job to the backend unchanged;
    // it is made the default.
    bool captureByDefault(const QString& name)
    {
        return m_running && runTool("lpadmin", {"-p", name, "-v", "capture:/", "-E"}) &&
               runTool("lpadmin", {"-d", name});
    }
    bool removeQueue(const QString& name) { return runTool("lpadmin", {"-x", name}); }
    bool rejectJobs(const QString& name) { return runTool("cupsreject", {name}); }

    // Waits until the scheduler has finished every job it was given (the backend has run
    // for each one). False when that does not happen within a generous limit.
    bool waitUntilIdle();
    // The jobs the capture backend received, in job order.
    QList<CapturedJob> capturedJobs() const;

private:
    bool start();
    bool runTool(const QString& program, const QStringList& arguments);
    QString path(const char* relative) const { return m_root.filePath(QString::fromLatin1(relative)); }

    TempFolder m_root;
    QProcess m_cupsd;
    QString m_problem;
    bool m_running = false;
    bool m_missingPrograms = false;
};

} // namespace quindle::test
