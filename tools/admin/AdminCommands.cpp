#include "tools/admin/AdminCommands.h"

#include "platform/FileSystem.h"
#include "settings/SettingsReader.h"
#include "tools/admin/ActivityAnalyser.h"
#include "tools/admin/ChannelFollower.h"
#include "tools/admin/ChannelPublisher.h"
#include "tools/admin/KioskCheck.h"
#include "tools/admin/KioskPreview.h"
#include "tools/admin/LogFileSelection.h"
#include "tools/admin/OwnerKey.h"
#include "tools/admin/ParallelRunner.h"
#include "tools/admin/ReportWriters.h"
#include "tools/admin/ThumbnailMaker.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <mutex>

namespace quindle::admin {

namespace {

const char* const overview =
    "Usage: quindle-admin <command> [options]\n"
    "The kiosk owner's program.\n\n"
    "Commands:\n"
    "  check       list every problem of the kiosk folder at once\n"
    "  thumbnails  write the missing \"_\" thumbnails of every category\n"
    "  report      write an HTML report of the tracking logs\n"
    "  preview     draw every screen from the settings and list layout problems\n"
    "  keygen      make the publisher's signing key pair\n"
    "  publish     publish a kiosk folder as a new version into a channel\n"
    "  follow      take the channel's current version when it is complete and sound\n"
    "  rollback    point the kiosk back at the version before\n\n"
    "\"quindle-admin <command> --help\" describes each command.\n";

const QCommandLineOption programFolderOption(
    QStringLiteral("program-folder"),
    QStringLiteral(
        "The kiosk's program folder, which holds \"quindleFolder.ini\" (default: this program's folder)."),
    QStringLiteral("DIR"));
const QCommandLineOption jobsOption(QStringLiteral("jobs"),
                                    QStringLiteral("Threads to decode pictures on (default: every core)."),
                                    QStringLiteral("N"));

class Command
{
public:
    Command(const QString& name, const QString& description) : m_name(name)
    {
        m_parser.setApplicationDescription(description);
        m_parser.addHelpOption();
        m_parser.addOption(programFolderOption);
        m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    }

    QCommandLineParser& parser() { return m_parser; }

    // False with the status to end with (help asked, or a usage fault reported).
    bool parse(const QStringList& arguments, CommandStreams streams, int& status, qsizetype positionals = 0)
    {
        if (!m_parser.parse(arguments)) {
            streams.err << "quindle-admin " << m_name << ": " << m_parser.errorText() << "\nTry --help.\n";
            status = 2;
            return false;
        }
        if (m_parser.isSet(QStringLiteral("help"))) {
            QString help = m_parser.helpText();
            help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                         QStringLiteral("Usage: quindle-admin ") + m_name);
            streams.out << help;
            status = 0;
            return false;
        }
        if (m_parser.positionalArguments().size() < positionals) {
            streams.err << "quindle-admin " << m_name << ": a folder is missing\nTry --help.\n";
            status = 2;
            return false;
        }
        if (m_parser.positionalArguments().size() > positionals) {
            streams.err << "quindle-admin " << m_name << ": unexpected argument \""
                        << m_parser.positionalArguments().at(positionals) << "\"\nTry --help.\n";
            status = 2;
            return false;
        }
        return true;
    }

    QString programFolder(const QString& fallback) const
    {
        return m_parser.isSet(programFolderOption) ? m_parser.value(programFolderOption) : fallback;
    }

private:
    QString m_name;
    QCommandLineParser m_parser;
};

bool readJobs(const QCommandLineParser& parser, CommandStreams streams, int& jobs)
{
    jobs = coreCount();
    if (!parser.isSet(jobsOption))
        return true;
    bool valid = false;
    jobs = parser.value(jobsOption).toInt(&valid);
    if (valid && jobs >= 1 && jobs <= 256)
        return true;
    streams.err << "quindle-admin: --jobs needs a number from 1 to 256\n";
    return false;
}

int runCheck(const QStringList& arguments, const QString& defaultFolder, CommandStreams streams)
{
    Command command(
        QStringLiteral("check"),
        QStringLiteral("Reads the kiosk's settings and folders as the kiosk would and lists every problem "
                       "at once: errors (the kiosk would not start or would stop), warnings (it runs, "
                       "but something is missing on screen) and notes.\nExit status 0 when the kiosk "
                       "would start and run, 1 when it would not."));
    command.parser().addOption(jobsOption);
    int status = 0;
    if (!command.parse(arguments, streams, status))
        return status;
    int jobs = 0;
    if (!readJobs(command.parser(), streams, jobs))
        return 2;
    const QString programFolder = command.programFolder(defaultFolder);
    const std::vector<Finding> findings = KioskCheck(programFolder, jobs).run();
    for (const Finding& finding : findings)
        streams.out << formatFinding(finding, programFolder) << '\n';
    streams.out << checkSummary(findings) << '\n';
    return kioskWouldRun(findings) ? 0 : 1;
}

int runThumbnails(const QStringList& arguments, const QString& defaultFolder, CommandStreams streams)
{
    Command command(
        QStringLiteral("thumbnails"),
        QStringLiteral("Writes the missing \"_\" thumbnails of every category at twice the grid's "
                       "thumbnail size, upright, as JPEG; thumbnails newer than their pictures are left "
                       "alone. Safe while the kiosk runs."));
    command.parser().addOption(jobsOption);
    command.parser().addOption(
        QCommandLineOption(QStringLiteral("force"), QStringLiteral("Write every thumbnail again.")));
    int status = 0;
    if (!command.parse(arguments, streams, status))
        return status;
    int jobs = 0;
    if (!readJobs(command.parser(), streams, jobs))
        return 2;
    const SettingsReport settings = SettingsReader(command.programFolder(defaultFolder)).readAll();
    if (settings.settings.kioskFolderPath.isEmpty() || settings.settings.thumbWidth <= 0 ||
        settings.settings.thumbHeight <= 0) {
        streams.err << "quindle-admin thumbnails: the settings give no thumbnail size (a grid statement); "
                       "run \"quindle-admin check\"\n";
        return 1;
    }
    const QSize size =
        ThumbnailMaker::thumbnailSizeFor(QSize(settings.settings.thumbWidth, settings.settings.thumbHeight));
    const ThumbnailPlan plan =
        ThumbnailMaker::plan(settings.settings.kioskFolderPath, command.parser().isSet("force"));

    std::vector<QString> failures(static_cast<size_t>(plan.jobs.size()));
    QElapsedTimer timer;
    timer.start();
    const int total = static_cast<int>(plan.jobs.size());
    runParallel(
        total, jobs,
        [&](int index) {
            failures[static_cast<size_t>(index)] = ThumbnailMaker::writeThumbnail(plan.jobs.at(index), size);
        },
        [&](int done) {
            if (!streams.errIsTerminal)
                return;
            streams.err << '\r' << progressText(done, total, timer.elapsed() / 1000.0) << "\x1b[K";
            streams.err.flush();
        });
    const double seconds = timer.elapsed() / 1000.0;
    if (streams.errIsTerminal)
        streams.err << '\n';

    int failed = 0;
    for (qsizetype i = 0; i < plan.jobs.size(); ++i) {
        if (failures[static_cast<size_t>(i)].isEmpty())
            continue;
        ++failed;
        streams.err << plan.jobs.at(i).picture << ": " << failures[static_cast<size_t>(i)] << '\n';
    }
    streams.out << QStringLiteral("%1 thumbnails written, %2 up to date, %3 failed, at %4 x %5 in %6 s "
                                  "(%7 a second on %8 threads).\n")
                       .arg(total - failed)
                       .arg(plan.upToDate)
                       .arg(failed)
                       .arg(size.width())
                       .arg(size.height())
                       .arg(seconds, 0, 'f', 1)
                       .arg(seconds > 0 ? total / seconds : 0.0, 0, 'f', 1)
                       .arg(jobs);
    return failed == 0 ? 0 : 1;
}

bool readDate(const QCommandLineParser& parser, const QString& option, CommandStreams streams, QDate& date)
{
    if (!parser.isSet(option))
        return true;
    date = QDate::fromString(parser.value(option), Qt::ISODate);
    if (date.isValid())
        return true;
    streams.err << "quindle-admin report: --" << option << " needs a date written yyyy-mm-dd\n";
    return false;
}

bool writeText(const QString& path, const QString& text, CommandStreams streams)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return true;
    streams.err << "quindle-admin report: cannot write " << path << ": " << file.errorString() << '\n';
    return false;
}

QStringList menuCaptionsOf(const KioskSettings& settings)
{
    QStringList captions{QString()};
    for (int n = 1; n <= settings.menuEntryCount(); ++n) {
        const MenuEntry& entry = settings.menuEntries[static_cast<size_t>(n)];
        // "_" breaks a caption's line on the button; in a report it is a space.
        QString caption = entry.caption.isEmpty() ? entry.folder : entry.caption;
        captions << caption.replace(QLatin1Char('_'), QLatin1Char(' ')).simplified();
    }
    return captions;
}

ActivityReport analyseLogs(const QString& logFolder, const QStringList& menuCaptions, QDate first, QDate last,
                           CommandStreams streams)
{
    ActivityAnalyser analyser(menuCaptions, first, last);
    for (const LogFile& log : selectLogFiles(logFolder, first, last)) {
        QFile file;
        const int fd = openForReading(log.path);
        if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            streams.err << "quindle-admin report: cannot read " << log.path << '\n';
            continue;
        }
        analyser.addFile(file.readAll());
    }
    return analyser.finish();
}

// Each kiosk's logs arrive in a folder of their own; "content version.txt" beside them names
// the version the kiosk last took.
int writeFleetReport(const QString& fleetFolder, QDate first, QDate last, const QString& outputPath,
                     CommandStreams streams)
{
    std::vector<KioskActivity> kiosks;
    for (const QString& name : QDir(fleetFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = joinPath(fleetFolder, name);
        QFile version(joinPath(folder, QStringLiteral("content version.txt")));
        const QString contentVersion = version.open(QIODevice::ReadOnly)
                                           ? QString::fromUtf8(version.readLine(256)).trimmed()
                                           : QString();
        kiosks.push_back(KioskActivity{name, contentVersion, analyseLogs(folder, {}, first, last, streams)});
    }
    if (kiosks.empty()) {
        streams.err << "quindle-admin report: " << fleetFolder << " holds no kiosk's folder\n";
        return 1;
    }
    if (!writeText(outputPath, fleetReportHtml(kiosks, QDateTime::currentDateTime()), streams))
        return 1;
    streams.out << QStringLiteral("Wrote %1: %2 kiosks.\n").arg(outputPath).arg(kiosks.size());
    for (const KioskActivity& kiosk : kiosks)
        streams.out << QStringLiteral("%1: %2 touches, %3 visits, %4 prints, %5 log files\n")
                           .arg(kiosk.name)
                           .arg(kiosk.report.visitorEvents)
                           .arg(kiosk.report.sessions)
                           .arg(prints(kiosk.report))
                           .arg(kiosk.report.filesRead);
    return 0;
}

int runReport(const QStringList& arguments, const QString& defaultFolder, CommandStreams streams)
{
    Command command(
        QStringLiteral("report"),
        QStringLiteral("Reads the tracking logs of the \"log files\" folder and writes one HTML page (and "
                       "with --csv a CSV summary) of what visitors did."));
    const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("First day (yyyy-mm-dd)."),
                                  QStringLiteral("DATE"));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("Last day (yyyy-mm-dd)."),
                                QStringLiteral("DATE"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("The HTML file to write (default: kiosk-report.html)."),
                                    QStringLiteral("FILE"), QStringLiteral("kiosk-report.html"));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("Also write the counts as CSV to FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption fleet(
        QStringLiteral("fleet"),
        QStringLiteral("Report a fleet instead: DIR holds one folder of log files per "
                       "kiosk, named by the kiosk."),
        QStringLiteral("DIR"));
    command.parser().addOptions({from, to, output, csv, fleet});
    int status = 0;
    if (!command.parse(arguments, streams, status))
        return status;
    QDate first;
    QDate last;
    if (!readDate(command.parser(), QStringLiteral("from"), streams, first) ||
        !readDate(command.parser(), QStringLiteral("to"), streams, last))
        return 2;

    if (command.parser().isSet(fleet))
        return writeFleetReport(command.parser().value(fleet), first, last, command.parser().value(output),
                                streams);
    const QString programFolder = command.programFolder(defaultFolder);
    const QString logFolder = resolveCaseless(programFolder, QStringLiteral("log files"));
    if (!folderExists(logFolder)) {
        streams.err << "quindle-admin report: there is no \"log files\" folder in " << programFolder << '\n';
        return 1;
    }
    // Captions name the categories; a settings file with faults still names what it can.
    const SettingsReport settings = SettingsReader(programFolder).readAll();
    const ActivityReport report =
        analyseLogs(logFolder, menuCaptionsOf(settings.settings), first, last, streams);
    const QString outputPath = command.parser().value(output);
    if (!writeText(outputPath, reportHtml(report, settings.settings.kioskFolder), streams))
        return 1;
    if (command.parser().isSet(csv) && !writeText(command.parser().value(csv), reportCsv(report), streams))
        return 1;
    streams.out << QStringLiteral("Wrote %1: %2 log files, %3 kiosk lines, %4 other lines skipped.\n")
                       .arg(outputPath)
                       .arg(report.filesRead)
                       .arg(report.linesRead)
                       .arg(report.linesSkipped);
    return 0;
}

// "1280x1024": both at least 1 and at most 16384.
QSize screenSizeFrom(const QString& text)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$")).match(text);
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    const bool fits =
        size.width() >= 1 && size.height() >= 1 && size.width() <= 16384 && size.height() <= 16384;
    return match.hasMatch() && fits ? size : QSize();
}

int runPreviewCommand(const QStringList& arguments, const QString& defaultFolder, CommandStreams streams)
{
    Command command(
        QStringLiteral("preview"),
        QStringLiteral("Draws every screen a visitor can reach, with the kiosk's own window and settings "
                       "reader, into PNG files with an index page, and lists the layout problems: controls "
                       "that overlap or leave the backdrop, captions that do not fit, a detail view over a "
                       "control button. Nothing of the kiosk folder is written.\nExit status 0 when every "
                       "screen was drawn, 1 when the kiosk would not start on these settings."));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("The folder to write to."),
                                    QStringLiteral("FOLDER"));
    const QCommandLineOption size(
        QStringLiteral("size"),
        QStringLiteral(
            "Draw for a screen of this size, fitted as the kiosk fits it (default: the backdrop's)."),
        QStringLiteral("WxH"));
    command.parser().addOptions({output, size});
    int status = 0;
    if (!command.parse(arguments, streams, status))
        return status;
    if (!command.parser().isSet(output) || command.parser().value(output).isEmpty()) {
        streams.err << "quindle-admin preview: --output FOLDER is needed\nTry --help.\n";
        return 2;
    }
    PreviewOptions options{command.programFolder(defaultFolder), command.parser().value(output), QSize()};
    if (command.parser().isSet(size)) {
        options.screenSize = screenSizeFrom(command.parser().value(size));
        if (!options.screenSize.isValid()) {
            streams.err << "quindle-admin preview: --size needs a width and height such as 1280x1024\n";
            return 2;
        }
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        streams.err << "quindle-admin preview: drawing needs a graphical application\n";
        return 1;
    }
    return runPreview(options, streams);
}

int runKeygen(const QStringList& arguments, CommandStreams streams)
{
    Command command(
        QStringLiteral("keygen"),
        QStringLiteral("Makes the publisher's Ed25519 key pair: FOLDER/owner.key (keep it secret) and "
                       "FOLDER/owner.pub, the line each kiosk's trust file lists."));
    command.parser().addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("Where the keys go."));
    int status = 0;
    if (!command.parse(arguments, streams, status, 1))
        return status;
    const QString folder = command.parser().positionalArguments().first();
    if (const QString error = OwnerKey::generate(folder); !error.isEmpty()) {
        streams.err << "quindle-admin keygen: " << error << '\n';
        return 1;
    }
    streams.out << "Wrote " << joinPath(folder, QStringLiteral("owner.key")) << " and "
                << joinPath(folder, QStringLiteral("owner.pub")) << ".\n";
    return 0;
}

int runPublish(const QStringList& arguments, CommandStreams streams)
{
    Command command(
        QStringLiteral("publish"),
        QStringLiteral("Checks the kiosk folder SOURCE and publishes it into the channel DIR as a new "
                       "signed version, which becomes the current one."));
    command.parser().addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("The kiosk folder."));
    const QCommandLineOption channel(QStringLiteral("channel"), QStringLiteral("The channel folder."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("The private key (owner.key)."),
                                 QStringLiteral("KEY"));
    const QCommandLineOption keep(QStringLiteral("keep"), QStringLiteral("Versions kept (default 5)."),
                                  QStringLiteral("N"), QStringLiteral("5"));
    command.parser().addOptions({channel, key, keep});
    int status = 0;
    if (!command.parse(arguments, streams, status, 1))
        return status;
    PublishRequest request{command.parser().positionalArguments().first(), command.parser().value(channel),
                           command.parser().value(key), command.parser().value(keep).toInt()};
    if (request.channel.isEmpty() || request.keyFile.isEmpty() || request.keep < 1) {
        streams.err << "quindle-admin publish: --channel and --key are needed, --keep at least 1\n";
        return 2;
    }
    const PublishOutcome outcome = publishVersion(request, QDateTime::currentDateTimeUtc());
    for (const QString& problem : outcome.problems)
        streams.out << problem << '\n';
    if (outcome.version.isEmpty()) {
        streams.err << "quindle-admin publish: " << outcome.error << '\n';
        return 1;
    }
    streams.out << "Published version " << outcome.version << ".\n";
    return 0;
}

int reportFollow(const FollowOutcome& outcome, const QString& name, CommandStreams streams)
{
    if (outcome.result == FollowOutcome::Result::Refused) {
        streams.err << "quindle-admin " << name << ": " << outcome.message << '\n';
        return 1;
    }
    streams.out << outcome.message << '\n';
    return 0;
}

int runFollow(const QStringList& arguments, const QString& defaultFolder, CommandStreams streams)
{
    Command command(
        QStringLiteral("follow"),
        QStringLiteral("Takes the channel's current version into the program folder when every file of "
                       "its signed manifest has arrived intact, and points the kiosk at it. A version "
                       "that is incomplete, changed, not trusted or would not start is left alone: "
                       "exit status 1 and one line saying why."));
    const QCommandLineOption channel(QStringLiteral("channel"), QStringLiteral("The channel folder."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption trust(
        QStringLiteral("trust"),
        QStringLiteral("The trusted publishers' keys (default: \"trusted-publishers\" in "
                       "the program folder)."),
        QStringLiteral("FILE"));
    const QCommandLineOption maxFiles(QStringLiteral("max-files"),
                                      QStringLiteral("The most files a version may hold (default 200000)."),
                                      QStringLiteral("N"), QStringLiteral("200000"));
    const QCommandLineOption maxGigabytes(
        QStringLiteral("max-gb"), QStringLiteral("The most gigabytes a version may hold (default 20)."),
        QStringLiteral("N"), QStringLiteral("20"));
    command.parser().addOptions({channel, trust, maxFiles, maxGigabytes});
    int status = 0;
    if (!command.parse(arguments, streams, status))
        return status;
    FollowRequest request;
    bool filesRead = false;
    bool gigabytesRead = false;
    request.maxFiles = command.parser().value(maxFiles).toLongLong(&filesRead);
    request.maxBytes = command.parser().value(maxGigabytes).toLongLong(&gigabytesRead) * 1'000'000'000;
    if (!command.parser().isSet(channel) || !filesRead || !gigabytesRead || request.maxFiles < 1 ||
        request.maxBytes < 1) {
        streams.err
            << "quindle-admin follow: --channel is needed; --max-files and --max-gb take whole numbers\n";
        return 2;
    }
    request.channel = command.parser().value(channel);
    request.programFolder = command.programFolder(defaultFolder);
    request.trustFile = command.parser().isSet(trust)
                            ? command.parser().value(trust)
                            : joinPath(request.programFolder, QStringLiteral("trusted-publishers"));
    return reportFollow(followChannel(request), QStringLiteral("follow"), streams);
}

int runRollback(const QStringList& arguments, const QString& defaultFolder, CommandStreams streams)
{
    Command command(
        QStringLiteral("rollback"),
        QStringLiteral("Points the kiosk back at the version it had before the current one; follow "
                       "does not take the version rolled back from again."));
    int status = 0;
    if (!command.parse(arguments, streams, status))
        return status;
    return reportFollow(rollBack(command.programFolder(defaultFolder)), QStringLiteral("rollback"), streams);
}

} // namespace

QString progressText(int done, int total, double seconds)
{
    const double rate = seconds > 0 ? done / seconds : 0;
    QString text =
        QStringLiteral("%1 of %2 thumbnails  %3 a second").arg(done).arg(total).arg(rate, 0, 'f', 1);
    if (rate <= 0 || done >= total)
        return text;
    const int left = static_cast<int>((total - done) / rate + 0.5);
    return text + QStringLiteral("  %1:%2 left").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0'));
}

int runAdmin(const QStringList& arguments, const QString& defaultProgramFolder, CommandStreams streams)
{
    const QString name = arguments.value(1);
    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.value(0) + QLatin1Char(' ') + name);
    if (name == QLatin1String("check"))
        return runCheck(rest, defaultProgramFolder, streams);
    if (name == QLatin1String("thumbnails"))
        return runThumbnails(rest, defaultProgramFolder, streams);
    if (name == QLatin1String("report"))
        return runReport(rest, defaultProgramFolder, streams);
    if (name == QLatin1String("preview"))
        return runPreviewCommand(rest, defaultProgramFolder, streams);
    if (name == QLatin1String("keygen"))
        return runKeygen(rest, streams);
    if (name == QLatin1String("publish"))
        return runPublish(rest, streams);
    if (name == QLatin1String("follow"))
        return runFollow(rest, defaultProgramFolder, streams);
    if (name == QLatin1String("rollback"))
        return runRollback(rest, defaultProgramFolder, streams);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        streams.out << overview;
        return 0;
    }
    if (name.isEmpty())
        streams.err << overview;
    else
        streams.err << "quindle-admin: unknown command \"" << name << "\"\n\n" << overview;
    return 2;
}

} // namespace quindle::admin
