#include "printing/PrivateCups.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cups/cups.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace quindle::test {

namespace {

constexpr int startLimitMs = 20'000;
constexpr int jobLimitMs = 60'000;
constexpr int toolLimitMs = 30'000;

// Where Debian puts the scheduler and its tools; PATH of a normal user lacks /usr/sbin.
QString findProgram(const QString& name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : onPath;
}

bool writeFile(const QString& path, const QByteArray& contents, QFileDevice::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) != contents.size())
        return false;
    file.close();
    return permissions == QFileDevice::Permissions() || file.setPermissions(permissions);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The capture backend. Called without arguments it announces its device; called for a job
// (job id, user, title, copies, options, and the document file unless it comes on standard
// input) it keeps the title, then the bytes. The bytes appear under their final name only
// once complete.
QByteArray captureBackend(QString captureFolder)
{
    captureFolder.replace('\'', QStringLiteral("'\\''"));
    return QStringLiteral(R"(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct capture "Unknown" "Test capture"'; exit 0; fi
folder='%1'
partial="$folder/.$1.partial"
if [ -n "$6" ]; then cat -- "$6" > "$partial" || exit 1; else cat > "$partial" || exit 1; fi
printf '%s' "$3" > "$folder/$1.title" || exit 1
mv -- "$partial" "$folder/$1.data"
)")
        .arg(captureFolder)
        .toLocal8Bit();
}

} // namespace

PrivateCups::PrivateCups() : m_root(QDir::tempPath() + QStringLiteral("/quindle-cups-XXXXXX"))
{
    m_running = start();
}

PrivateCups::~PrivateCups()
{
    // A scheduler that does not end within the limit is killed; the process object waits for that.
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(toolLimitMs))
        m_cupsd.kill();
    qunsetenv("CUPS_SERVER");
    qunsetenv("CUPS_SERVERROOT");
    cupsSetServer(nullptr);
}

bool PrivateCups::start()
{
    for (const auto& [program, package] :
         {std::pair{"cupsd", "cups-daemon"}, std::pair{"lpadmin", "cups-client"},
          std::pair{"cupsreject", "cups-client"}}) {
        if (findProgram(QString::fromLatin1(program)).isEmpty()) {
            m_missingPrograms = true;
            m_problem = QStringLiteral("%1 is not installed (Debian package %2)").arg(program, package);
            return false;
        }
    }
    if (!writeConfiguration())
        return false;

    // Set before any libcups call of this process, and before the scheduler's tools run:
    // libcups keeps the server it found first, so it is told directly as well.
    qputenv("CUPS_SERVER", QFile::encodeName(socketPath()));
    qputenv("CUPS_SERVERROOT", QFile::encodeName(path(QStringLiteral("client"))));
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    cupsSetServer(QFile::encodeName(socketPath()).constData());

    m_cupsd.setStandardOutputFile(path(QStringLiteral("log/cupsd.out")));
    m_cupsd.setStandardErrorFile(path(QStringLiteral("log/cupsd.out")));
    m_cupsd.start(findProgram(QStringLiteral("cupsd")), {"-f", "-c", path(QStringLiteral("etc/cupsd.conf")),
                                                         "-s", path(QStringLiteral("etc/cups-files.conf"))});
    if (!m_cupsd.waitForStarted(startLimitMs)) {
        m_problem = QStringLiteral("cupsd did not start: ") + m_cupsd.errorString();
        return false;
    }
    return waitForScheduler();
}

bool PrivateCups::writeConfiguration()
{
    for (const char* folder :
         {"etc", "bin/backend", "spool/temp", "cache", "state", "log", "client", "capture"})
        QDir().mkpath(path(QString::fromLatin1(folder)));
    QFile::link(QStringLiteral("/usr/lib/cups/daemon"), path(QStringLiteral("bin/daemon")));

    const QByteArray root = QFile::encodeName(m_root.path());
    // As root the scheduler runs backends as its unprivileged user, except a backend that
    // only its owner may read and run: that one runs as root and can write the capture folder.
    const passwd* user = ::getpwuid(::geteuid());
    const group* userGroup = ::getgrgid(::getegid());
    const QByteArray groupName = userGroup ? userGroup->gr_name : "";
    const QByteArray users = ::geteuid() == 0 ? QByteArray("SystemGroup root\n")
                                              : "User " + QByteArray(user ? user->pw_name : "") + "\nGroup " +
                                                    groupName + "\nSystemGroup " + groupName + "\n";
    const QByteArray files =
        "ServerRoot " + root + "/etc\nServerBin " + root + "/bin\nDataDir /usr/share/cups\nRequestRoot " +
        root + "/spool\nTempDir " + root + "/spool/temp\nCacheDir " + root + "/cache\nStateDir " + root +
        "/state\nErrorLog " + root + "/log/error_log\nAccessLog " + root + "/log/access_log\nPageLog " +
        root + "/log/page_log\nPrintcap " + root + "/printcap\nFileDevice No\n" + users;
    const QByteArray scheduler = "Listen " + root +
                                 "/cups.sock\nLogLevel info\nBrowsing No\nBrowseLocalProtocols none\n"
                                 "WebInterface No\nDefaultAuthType None\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n";
    const bool written = writeFile(path(QStringLiteral("etc/cups-files.conf")), files) &&
                         writeFile(path(QStringLiteral("etc/cupsd.conf")), scheduler) &&
                         writeFile(path(QStringLiteral("bin/backend/capture")),
                                   captureBackend(path(QStringLiteral("capture"))),
                                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!written)
        m_problem = QStringLiteral("cannot write the scheduler's configuration in ") + m_root.path();
    return written;
}

bool PrivateCups::waitForScheduler()
{
    const QDeadlineTimer deadline(startLimitMs);
    for (;;) {
        http_t* connection = httpConnect2(QFile::encodeName(socketPath()).constData(), 0, nullptr, AF_LOCAL,
                                          HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr);
        httpClose(connection);
        if (connection)
            return true;
        // Waiting on the process notices at once when the scheduler gives up.
        if (m_cupsd.waitForFinished(20) || m_cupsd.state() == QProcess::NotRunning || deadline.hasExpired()) {
            m_problem = QStringLiteral("cupsd did not come up; its log:\n") +
                        QString::fromLocal8Bit(readFile(path(QStringLiteral("log/cupsd.out"))).right(2000) +
                                               readFile(path(QStringLiteral("log/error_log"))).right(2000));
            return false;
        }
    }
}

bool PrivateCups::runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(findProgram(program), arguments);
    const bool succeeded = tool.waitForFinished(toolLimitMs) && tool.exitStatus() == QProcess::NormalExit &&
                           tool.exitCode() == 0;
    if (!succeeded)
        m_problem =
            program + ' ' + arguments.join(' ') + " failed: " + QString::fromLocal8Bit(tool.readAll());
    return succeeded;
}

bool PrivateCups::waitUntilIdle()
{
    const QDeadlineTimer deadline(jobLimitMs);
    for (;;) {
        cups_job_t* jobs = nullptr;
        const int active = cupsGetJobs2(nullptr, &jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active, jobs);
        if (active == 0 && cupsLastError() <= IPP_STATUS_OK_CONFLICTING)
            return true;
        if (deadline.hasExpired()) {
            m_problem = QStringLiteral("jobs still unfinished; scheduler log:\n") +
                        QString::fromLocal8Bit(readFile(path(QStringLiteral("log/error_log"))).right(2000));
            return false;
        }
        QThread::msleep(20);
    }
}

QList<CapturedJob> PrivateCups::capturedJobs() const
{
    QList<CapturedJob> jobs;
    const QDir folder(path(QStringLiteral("capture")));
    for (const QString& name : folder.entryList({QStringLiteral("*.data")}, QDir::Files)) {
        const int id = name.section('.', 0, 0).toInt();
        jobs.append({id, QString::fromUtf8(readFile(folder.filePath(QString::number(id) + ".title"))),
                     readFile(folder.filePath(name))});
    }
    std::sort(jobs.begin(), jobs.end(),
              [](const CapturedJob& a, const CapturedJob& b) { return a.id < b.id; });
    return jobs;
}

} // namespace quindle::test
