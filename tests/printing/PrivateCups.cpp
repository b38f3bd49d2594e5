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
#include <sys/socket.h>
#include <sys/un.h>
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
    if (!onPath.isEmpty())
        return onPath;
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
}

bool writeFile(const QString& path, const QByteArray& contents, QFileDevice::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) != contents.size())
        return false;
    file.close();
    return permissions == QFileDevice::Permissions() || file.setPermissions(permissions);
}

QByteArray tail(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return all.right(2000);
}

bool socketAccepts(const QString& socketPath)
{
    const QByteArray bytes = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(bytes.size()) >= sizeof(address.sun_path))
        return false;
    std::copy(bytes.begin(), bytes.end(), address.sun_path);
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return false;
    const bool connected =
        ::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(descriptor);
    return connected;
}

QByteArray userName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QByteArray(entry->pw_name) : QByteArray();
}

QByteArray groupName()
{
    const group* entry = ::getgrgid(::getegid());
    return entry ? QByteArray(entry->gr_name) : QByteArray();
}

// The capture backend. Called without arguments it announces its device; called for a job
// (job id, user, title, copies, options, and the document file unless it comes on standard
// input) it keeps the title, then the bytes. The bytes appear under their final name only
// once complete.
QByteArray captureBackend(const QString& captureFolder)
{
    QByteArray folder = QFile::encodeName(captureFolder);
    folder.replace('\'', "'\\''");
    return "#!/bin/sh\n"
           "if [ $# -eq 0 ]; then\n"
           "  echo 'direct capture \"Unknown\" \"Test capture\"'\n"
           "  exit 0\n"
           "fi\n"
           "folder='" +
           folder +
           "'\n"
           "partial=\"$folder/.$1.partial\"\n"
           "if [ -n \"$6\" ]; then cat -- \"$6\" > \"$partial\" || exit 1; else cat > \"$partial\" || exit "
           "1; fi\n"
           "printf '%s' \"$3\" > \"$folder/$1.title\" || exit 1\n"
           "mv -- \"$partial\" \"$folder/$1.data\" || exit 1\n"
           "exit 0\n";
}

} // namespace

PrivateCups::PrivateCups() : m_root(QDir::tempPath() + QStringLiteral("/quindle-cups-XXXXXX"))
{
    m_running = start();
}

PrivateCups::~PrivateCups()
{
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(toolLimitMs)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(toolLimitMs);
        }
    }
    qunsetenv("CUPS_SERVER");
    qunsetenv("CUPS_SERVERROOT");
    cupsSetServer(nullptr);
}

QString PrivateCups::socketPath() const
{
    return path(QStringLiteral("cups.sock"));
}

bool PrivateCups::start()
{
    const QString cupsd = findProgram(QStringLiteral("cupsd"));
    for (const char* tool : {"lpadmin", "cupsreject"}) {
        if (findProgram(QString::fromLatin1(tool)).isEmpty()) {
            m_missingPrograms = true;
            m_problem = QStringLiteral("%1 is not installed (Debian package cups-client)").arg(tool);
            return false;
        }
    }
    if (cupsd.isEmpty()) {
        m_missingPrograms = true;
        m_problem = QStringLiteral("cupsd is not installed (Debian package cups-daemon)");
        return false;
    }
    if (!m_root.isValid()) {
        m_problem = QStringLiteral("no temporary folder for the scheduler");
        return false;
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
    m_cupsd.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("etc/cupsd.conf")),
                          QStringLiteral("-s"), path(QStringLiteral("etc/cups-files.conf"))});
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
    const bool asRoot = ::geteuid() == 0;
    // As root the scheduler runs backends as its unprivileged user, except a backend that
    // only its owner may read and run: that one runs as root and can write the capture folder.
    const QByteArray users =
        asRoot ? QByteArray("SystemGroup root\n")
               : "User " + userName() + "\nGroup " + groupName() + "\nSystemGroup " + groupName() + "\n";
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
    while (!socketAccepts(socketPath())) {
        // Waiting on the process notices at once when the scheduler gives up.
        if (m_cupsd.waitForFinished(20) || m_cupsd.state() == QProcess::NotRunning || deadline.hasExpired()) {
            m_problem = QStringLiteral("cupsd did not come up; its log:\n") +
                        QString::fromLocal8Bit(tail(path(QStringLiteral("log/cupsd.out"))) +
                                               tail(path(QStringLiteral("log/error_log"))));
            return false;
        }
    }
    return true;
}

bool PrivateCups::runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(findProgram(program), arguments);
    const bool succeeded = tool.waitForFinished(toolLimitMs) && tool.exitStatus() == QProcess::NormalExit &&
                           tool.exitCode() == 0;
    if (!succeeded)
        m_problem = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
                    QStringLiteral(" failed: ") + QString::fromLocal8Bit(tool.readAll());
    return succeeded;
}

bool PrivateCups::addCaptureQueue(const QString& name)
{
    // No printer description: a raw queue, which hands every job to the backend unchanged.
    return runTool(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-v"),
                                               QStringLiteral("capture:/"), QStringLiteral("-E")});
}

bool PrivateCups::makeDefault(const QString& name)
{
    return runTool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
}

bool PrivateCups::removeQueue(const QString& name)
{
    return runTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
}

bool PrivateCups::rejectJobs(const QString& name)
{
    return runTool(QStringLiteral("cupsreject"), {name});
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
                        QString::fromLocal8Bit(tail(path(QStringLiteral("log/error_log"))));
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
        CapturedJob job;
        job.id = name.section(QLatin1Char('.'), 0, 0).toInt();
        QFile data(folder.filePath(name));
        if (data.open(QIODevice::ReadOnly))
            job.data = data.readAll();
        QFile title(folder.filePath(QString::number(job.id) + QStringLiteral(".title")));
        if (title.open(QIODevice::ReadOnly))
            job.title = QString::fromUtf8(title.readAll());
        jobs.append(job);
    }
    std::sort(jobs.begin(), jobs.end(),
              [](const CapturedJob& a, const CapturedJob& b) { return a.id < b.id; });
    return jobs;
}

} // namespace quindle::test
