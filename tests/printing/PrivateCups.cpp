#include "printing/PrivateCups.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cups/cups.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace quindle::test {

namespace {

constexpr int limitMs = 60'000;

// Where Debian puts the scheduler and its tools; PATH of a normal user lacks /usr/sbin.
QString findProgram(const QString& name)
{
    return QStandardPaths::findExecutable(name, qEnvironmentVariable("PATH").split(':') +
                                                    QStringList{"/usr/sbin", "/sbin"});
}

// The capture backend. Called without arguments it announces its device; called for a job
// (job id, user, title, copies, options, and the document file unless it comes on standard
// input) it keeps the title, then the bytes. The bytes appear under their final name only
// once complete.
const QString captureBackend = QStringLiteral(R"(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct capture "Unknown" "Test capture"'; exit 0; fi
folder='%1'
if [ -n "$6" ]; then cat -- "$6" > "$folder/.$1" || exit 1; else cat > "$folder/.$1" || exit 1; fi
printf '%s' "$3" > "$folder/$1.title" && mv -- "$folder/.$1" "$folder/$1.data"
)");

} // namespace

PrivateCups::~PrivateCups()
{
    // A scheduler that does not end within the limit is killed as the process object goes.
    m_cupsd.terminate();
    m_cupsd.waitForFinished(limitMs);
    qunsetenv("CUPS_SERVER");
    qunsetenv("CUPS_SERVERROOT");
    cupsSetServer(nullptr);
}

bool PrivateCups::start()
{
    for (const char* program : {"cupsd", "lpadmin", "cupsreject"}) {
        if (findProgram(QString::fromLatin1(program)).isEmpty()) {
            m_missingPrograms = true;
            m_problem =
                QStringLiteral("%1 is not installed (Debian packages cups-daemon, cups-client)").arg(program);
            return false;
        }
    }
    for (const char* folder : {"bin/backend", "spool/temp", "cache", "state", "log", "client", "capture"})
        m_root.makeFolder(QString::fromLatin1(folder));
    QFile::link(QStringLiteral("/usr/lib/cups/daemon"), path("bin/daemon"));

    // As root the scheduler runs backends as its unprivileged user, except a backend that
    // only its owner may read and run: that one runs as root and can write the capture folder.
    const passwd* user = ::getpwuid(::geteuid());
    const group* userGroup = ::getgrgid(::getegid());
    const QString users = ::geteuid() == 0
                              ? QStringLiteral("SystemGroup root\n")
                              : QStringLiteral("User %1\nGroup %2\nSystemGroup %2\n")
                                    .arg(user ? user->pw_name : "", userGroup ? userGroup->gr_name : "");
    const QString files =
        QStringLiteral("ServerRoot %1/etc\nServerBin %1/bin\nDataDir /usr/share/cups\n"
                       "RequestRoot %1/spool\nTempDir %1/spool/temp\nCacheDir %1/cache\n"
                       "StateDir %1/state\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                       "PageLog %1/log/page_log\nPrintcap %1/printcap\nFileDevice No\n");
    const QString scheduler =
        QStringLiteral("Listen %1/cups.sock\nLogLevel info\nBrowsing No\nBrowseLocalProtocols "
                       "none\nWebInterface No\nDefaultAuthType None\n<Location />\n  Order "
                       "allow,deny\n  Allow all\n</Location>\n");
    m_root.write(QStringLiteral("etc/cups-files.conf"), (files.arg(m_root.path()) + users).toLocal8Bit());
    m_root.write(QStringLiteral("etc/cupsd.conf"), scheduler.arg(m_root.path()).toLocal8Bit());
    const QString backend = m_root.write(
        QStringLiteral("bin/backend/capture"),
        captureBackend.arg(path("capture").replace('\'', QStringLiteral("'\\''"))).toLocal8Bit());
    QFile::setPermissions(backend, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Set before any libcups call of this process, and before the scheduler's tools run:
    // libcups keeps the server it found first, so it is told directly as well.
    const QByteArray socket = QFile::encodeName(path("cups.sock"));
    qputenv("CUPS_SERVER", socket);
    qputenv("CUPS_SERVERROOT", QFile::encodeName(path("client")));
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    cupsSetServer(socket.constData());

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.setStandardOutputFile(path("log/cupsd.out"));
    m_cupsd.start(findProgram(QStringLiteral("cupsd")),
                  {"-f", "-c", path("etc/cupsd.conf"), "-s", path("etc/cups-files.conf")});
    m_cupsd.waitForStarted(limitMs);
    // Waiting on the process notices at once when the scheduler gives up.
    for (const QDeadlineTimer deadline(limitMs);
         m_cupsd.state() == QProcess::Running && !deadline.hasExpired(); m_cupsd.waitForFinished(20)) {
        http_t* connection =
            httpConnect2(socket.constData(), 0, nullptr, AF_LOCAL, HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr);
        httpClose(connection);
        if (connection)
            return true;
    }
    m_problem = QStringLiteral("cupsd did not come up: ") + m_cupsd.errorString() +
                QStringLiteral("; its log:\n") +
                QString::fromLocal8Bit(m_root.read(QStringLiteral("log/cupsd.out")).right(2000) +
                                       m_root.read(QStringLiteral("log/error_log")).right(2000));
    return false;
}

bool PrivateCups::runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(findProgram(program), arguments);
    if (tool.waitForFinished(limitMs) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0)
        return true;
    m_problem = program + ' ' + arguments.join(' ') + " failed: " + QString::fromLocal8Bit(tool.readAll());
    return false;
}

bool PrivateCups::waitUntilIdle()
{
    for (const QDeadlineTimer deadline(limitMs); !deadline.hasExpired(); QThread::msleep(20)) {
        cups_job_t* jobs = nullptr;
        const int active = cupsGetJobs2(nullptr, &jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active, jobs);
        if (active == 0 && cupsLastError() <= IPP_STATUS_OK_CONFLICTING)
            return true;
    }
    m_problem = QStringLiteral("jobs still unfinished; scheduler log:\n") +
                QString::fromLocal8Bit(m_root.read(QStringLiteral("log/error_log")).right(2000));
    return false;
}

QList<CapturedJob> PrivateCups::capturedJobs() const
{
    QList<CapturedJob> jobs;
    for (const QString& name : QDir(path("capture")).entryList({QStringLiteral("*.data")}, QDir::Files)) {
        const QString id = name.section('.', 0, 0);
        jobs.append({id.toInt(), QString::fromUtf8(m_root.read("capture/" + id + ".title")),
                     m_root.read("capture/" + name)});
    }
    std::ranges::sort(jobs, {}, &CapturedJob::id);
    return jobs;
}

} // namespace quindle::test
