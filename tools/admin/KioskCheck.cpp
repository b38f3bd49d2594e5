#include "tools/admin/KioskCheck.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FolderListing.h"
#include "controls/PictureDecoder.h"
#include "platform/FileSystem.h"
#include "settings/InterfacePictures.h"
#include "settings/SettingsMessages.h"
#include "settings/SettingsReader.h"
#include "settings/SettingsText.h"
#include "tools/admin/ParallelRunner.h"
#include "tools/admin/ThumbnailMaker.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <sys/stat.h>

namespace quindle::admin {

namespace {

// Pictures are decoded small: enough to find a broken file, at an eighth of the cost.
const QSize probeSize(160, 160);
constexpr int namesShownPerNote = 5;

QString nameList(const QStringList& names)
{
    QStringList shown = names.mid(0, namesShownPerNote);
    QString text = QLatin1Char('"') + shown.join(QStringLiteral("\", \"")) + QLatin1Char('"');
    if (names.size() > namesShownPerNote)
        text += QStringLiteral(" and %1 more").arg(names.size() - namesShownPerNote);
    return text;
}

// A JPEG file cut short (a copy that stopped, a card pulled out) still decodes, with grey
// where the rest should be: its end-of-picture marker is missing. Some cameras add bytes
// after the marker, so the marker is looked for near the end rather than at it.
bool cutShort(const QString& path)
{
    QFile file;
    const int fd = openForReading(path);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return false;
    if (file.read(2) != QByteArrayLiteral("\xFF\xD8"))
        return false;
    const qint64 tail = std::min<qint64>(file.size(), 4096);
    file.seek(file.size() - tail);
    return !file.read(tail).contains(QByteArrayLiteral("\xFF\xD9"));
}

bool isEmptyFile(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(encodeFileName(path).constData(), &info) == 0 && info.st_size == 0;
}

QString severityText(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return QStringLiteral("error");
    case Severity::Warning:
        return QStringLiteral("warning");
    case Severity::Note:
        break;
    }
    return QStringLiteral("note");
}

} // namespace

KioskCheck::KioskCheck(QString programFolder, int threads)
    : m_programFolder(std::move(programFolder)), m_threads(threads)
{
}

std::vector<Finding> KioskCheck::run()
{
    m_findings.clear();
    if (!readSettings())
        return m_findings;
    checkInterfacePictures();
    checkCategories();
    checkAttract();
    decodePictures();
    return m_findings;
}

void KioskCheck::add(Severity severity, const QString& file, int line, const QString& message)
{
    m_findings.push_back(Finding{severity, file, line, message});
}

// The kiosk's own reader, in its collect-everything mode. Without a settings file there is
// nothing further to check.
bool KioskCheck::readSettings()
{
    const SettingsReport report = SettingsReader(m_programFolder).readAll();
    for (const SettingsProblem& problem : report.problems)
        add(Severity::Error, problem.file, problem.line, problem.message);
    m_settings = report.settings;
    if (m_settings.kioskFolderPath.isEmpty())
        return false;
    m_settingsFile = resolveCaseless(m_settings.kioskFolderPath, QStringLiteral("quindle.ini"));
    if (!fileExists(m_settingsFile) || !readSettingsFile(m_settingsFile))
        return false;
    m_settingsLines = settingsLinesOf(m_settingsFile);

    const QString pointer = resolveCaseless(m_programFolder, QStringLiteral("quindleFolder.ini"));
    noteCaseDifference(m_programFolder, QStringLiteral("quindleFolder.ini"), 0);
    if (pointer.endsWith(QLatin1String("/quindleFolder.ini")))
        noteCaseDifference(m_programFolder, withForwardSlashes(m_settings.kioskFolder), 0);
    noteCaseDifference(m_settings.kioskFolderPath, QStringLiteral("quindle.ini"), 0);
    return true;
}

// The kiosk finds names without regard to case, but a name that differs only in case
// stops working the day the folder goes back to a system that compares exactly, and
// confuses whoever edits the folder next.
void KioskCheck::noteCaseDifference(const QString& folder, const QString& written, int line)
{
    const QString exact = joinPath(folder, written);
    const QString found = resolveCaseless(folder, written);
    if (found == exact || (!fileExists(found) && !folderExists(found)))
        return;
    const QString file = line > 0 ? m_settingsFile : found;
    add(Severity::Note, file, line,
        QStringLiteral("\"%1\" is named \"%2\" on disk: the names differ only in letter case")
            .arg(written, found.mid(folder.size() + 1)));
}

void KioskCheck::checkInterfacePictures()
{
    const QString interface = m_settings.interfaceFolder;
    if (!folderExists(interface)) {
        add(Severity::Error, m_settings.kioskFolderPath, 0,
            missingInterfaceFolderMessage(m_settings.kioskFolder));
        return;
    }
    noteCaseDifference(m_settings.kioskFolderPath, QStringLiteral("Interface"), 0);
    if (!m_settings.backdropPath.isEmpty()) {
        const int line = std::max(1, statementLine(m_settingsLines, QStringLiteral("backdrop")));
        const QString& statement = m_settingsLines.at(line - 1);
        const QString written =
            trimSpaces(QStringView(statement).sliced(statement.indexOf(QLatin1Char('=')) + 1));
        noteCaseDifference(interface.chopped(1), withForwardSlashes(written), line);
        m_toDecode.push_back(PictureToDecode{m_settings.backdropPath, line});
    }

    for (const InterfacePicture& picture : interfacePicturesFor(m_settings))
        checkInterfacePicture(picture);
}

// A required picture missing ends start-up with the kiosk's message; a missing one that the
// kiosk loads later (a pressed or disabled face, the keyboard) leaves a gap where it belongs.
void KioskCheck::checkInterfacePicture(const InterfacePicture& picture)
{
    const QString folder = m_settings.interfaceFolder.chopped(1);
    const QString path = resolveCaseless(folder, picture.fileName);
    if (fileExists(path)) {
        noteCaseDifference(folder, picture.fileName, 0);
        m_toDecode.push_back(PictureToDecode{path, 0});
        return;
    }
    const int line = picture.settingsKey.isEmpty() ? 0 : statementLine(m_settingsLines, picture.settingsKey);
    const QString file = line > 0 ? m_settingsFile : folder;
    if (picture.need == PictureNeed::Required) {
        add(Severity::Error, file, line, missingInterfacePictureMessage(picture.fileName));
        return;
    }
    add(Severity::Warning, file, line,
        QStringLiteral("Missing Interface picture \"%1\" (%2): the kiosk shows nothing in its place")
            .arg(picture.fileName, picture.role));
}

void KioskCheck::checkCategories()
{
    const QString kiosk = m_settings.kioskFolderPath;
    for (int n = 1; n <= m_settings.menuEntryCount(); ++n) {
        const QString& category = m_settings.menuEntries[static_cast<size_t>(n)].folder;
        const int line = statementLine(m_settingsLines, QStringLiteral("btn%1").arg(n));
        const QString folder = resolveCaseless(kiosk, category);
        if (!folderExists(folder)) {
            add(Severity::Error, m_settingsFile, line, Catalogue::missingCategoryMessage(folder));
            continue;
        }
        noteCaseDifference(kiosk, category, line);
        const QStringList files = FolderListing::listFiles(folder, QStringLiteral("*.jpg"));
        if (files.isEmpty()) {
            add(Severity::Warning, m_settingsFile, line, Catalogue::emptyCategoryMessage(category));
            continue;
        }
        if (std::all_of(files.begin(), files.end(), [](const QString& name) { return name.contains(u'_'); }))
            add(Severity::Warning, m_settingsFile, line,
                QStringLiteral(
                    "The category folder \"%1\" holds no picture: every \".jpg\" name in it holds an "
                    "underscore, which marks a thumbnail")
                    .arg(category));
    }
    for (const QString& folder : FolderListing::listFolders(kiosk)) {
        if (Catalogue::isSearchedFolder(folder))
            checkPictureFolder(folder);
    }
}

void KioskCheck::checkPictureFolder(const QString& folder)
{
    const QStringList files = FolderListing::listFiles(folder, QStringLiteral("*.jpg"));
    QStringList withoutThumbnail;
    for (const QString& name : files) {
        if (name.contains(QLatin1Char('_')))
            continue;
        const QString picture = joinPath(folder, name);
        m_toDecode.push_back(PictureToDecode{picture, 0});
        const QString thumbnail = joinPath(folder, QLatin1Char('_') + name);
        if (fileExists(thumbnail)) {
            m_toDecode.push_back(PictureToDecode{thumbnail, 0});
            continue;
        }
        const QString caseless = resolveCaseless(folder, QLatin1Char('_') + name);
        if (fileExists(caseless)) {
            add(Severity::Warning, caseless, 0,
                QStringLiteral(
                    "The thumbnail's name differs from \"_%1\" only in letter case: the kiosk does not "
                    "use it")
                    .arg(name));
            continue;
        }
        withoutThumbnail << name;
    }
    if (!withoutThumbnail.isEmpty())
        add(Severity::Note, folder, 0,
            QStringLiteral(
                "%1 of %2 pictures have no \"_\" thumbnail (%3); the kiosk decodes the whole picture for "
                "each slot: run \"quindle-admin thumbnails\"")
                .arg(withoutThumbnail.size())
                .arg(files.size())
                .arg(nameList(withoutThumbnail)));

    QStringList orphans;
    for (const QString& name : FolderListing::listFiles(folder, QStringLiteral("*.prn"))) {
        if (!fileExists(resolveCaseless(folder, name.chopped(4) + QStringLiteral(".jpg")))) {
            orphans << name;
            continue;
        }
        // Only the raw print mode sends these files; the spooler refuses a job without bytes.
        const QString printFile = joinPath(folder, name);
        if (m_settings.printingMode == PrintingMode::Prn && isEmptyFile(printFile))
            add(Severity::Warning, printFile, 0,
                QStringLiteral("The print file is empty: the kiosk sends no job to the printer for "
                               "this product"));
    }
    if (!orphans.isEmpty())
        add(Severity::Note, folder, 0,
            QStringLiteral("\".prn\" files without a picture of the same name: %1").arg(nameList(orphans)));
}

void KioskCheck::checkAttract()
{
    if (!m_settings.attractEnabled)
        return;
    const int line = statementLine(m_settingsLines, QStringLiteral("attract"));
    const QString folder = resolveCaseless(m_settings.kioskFolderPath, QStringLiteral("Attract"));
    const QStringList slides = FolderListing::listFiles(folder, QStringLiteral("*.jpg"));
    if (slides.isEmpty()) {
        add(Severity::Warning, m_settingsFile, line,
            folderExists(folder)
                ? QStringLiteral("The Attract folder holds no \".jpg\" picture: the attract "
                                 "slideshow shows nothing")
                : QStringLiteral("There is no Attract folder: the attract slideshow shows nothing"));
        return;
    }
    for (const QString& slide : slides)
        m_toDecode.push_back(PictureToDecode{joinPath(folder, slide), 0});
}

// Decoding is what takes the time on a large catalogue: it runs on every core, and the
// findings keep the order in which the pictures were met.
void KioskCheck::decodePictures()
{
    std::vector<QString> reasons(m_toDecode.size());
    runParallel(static_cast<int>(m_toDecode.size()), m_threads, [&](int index) {
        const QString& path = m_toDecode[static_cast<size_t>(index)].path;
        const QSize size = PictureDecoder::pixelSize(path);
        if (size.isValid() &&
            static_cast<qint64>(size.width()) * size.height() > PictureDecoder::maximumPixels) {
            reasons[static_cast<size_t>(index)] =
                QStringLiteral(
                    "The picture is larger than the kiosk can show (%1 x %2 pixels, at most %3 million)")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(PictureDecoder::maximumPixels / 1'000'000);
            return;
        }
        if (size.isValid() && cutShort(path)) {
            reasons[static_cast<size_t>(index)] =
                QStringLiteral("The picture is cut short: its file ends before the picture does");
            return;
        }
        if (!size.isValid() || PictureDecoder::decode(path, PictureFit::Inside, probeSize).isNull())
            reasons[static_cast<size_t>(index)] =
                QStringLiteral("The picture cannot be decoded: the kiosk shows "
                               "nothing in its place");
    });
    for (size_t i = 0; i < m_toDecode.size(); ++i) {
        if (!reasons[i].isEmpty())
            add(Severity::Warning, m_toDecode[i].path, 0, reasons[i]);
    }
    m_toDecode.clear();
}

QString formatFinding(const Finding& finding, const QString& programFolder)
{
    QString file = QDir(programFolder).relativeFilePath(finding.file);
    if (file.startsWith(QLatin1String("../")))
        file = finding.file;
    QString message = finding.message;
    message.replace(QStringLiteral("\r\n\r\n"), QStringLiteral(" "))
        .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    const QString where = finding.line > 0 ? QStringLiteral("%1:%2").arg(file).arg(finding.line) : file;
    return QStringLiteral("%1: %2: %3").arg(where, severityText(finding.severity), message);
}

QStringList settingsLinesOf(const QString& settingsFile)
{
    const std::optional<QByteArray> bytes = readSettingsFile(settingsFile);
    return bytes ? splitSettingsLines(decodeSettingsText(*bytes)) : QStringList();
}

int statementLine(const QStringList& lines, const QString& key)
{
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString& line = lines.at(i);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && trimSpaces(QStringView(line).left(equals)).compare(key, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool kioskWouldRun(const std::vector<Finding>& findings)
{
    return std::none_of(findings.begin(), findings.end(),
                        [](const Finding& finding) { return finding.severity == Severity::Error; });
}

QString checkSummary(const std::vector<Finding>& findings)
{
    const auto count = [&](Severity severity) {
        return std::count_if(findings.begin(), findings.end(),
                             [severity](const Finding& finding) { return finding.severity == severity; });
    };
    const auto plural = [](qsizetype n, const char* word) {
        return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(word)).arg(n == 1 ? "" : "s");
    };
    return QStringLiteral("%1, %2, %3: %4")
        .arg(plural(count(Severity::Error), "error"), plural(count(Severity::Warning), "warning"),
             plural(count(Severity::Note), "note"),
             kioskWouldRun(findings) ? QStringLiteral("the kiosk would start and run.")
                                     : QStringLiteral("the kiosk would not start and run."));
}

} // namespace quindle::admin
