#include "tools/admin/ChannelPublisher.h"

#include "platform/FileSystem.h"
#include "tools/admin/KioskCheck.h"
#include "tools/admin/Manifest.h"
#include "tools/admin/OwnerKey.h"
#include "tools/admin/ParallelRunner.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

namespace quindle::admin {

namespace {

// The kiosk folder is checked through a program folder of its own whose pointer names it.
QStringList checkProblems(const QString& source)
{
    QTemporaryDir programFolder;
    const QString link = programFolder.filePath(QStringLiteral("Kiosk"));
    if (!QFile::link(QDir(source).absolutePath(), link))
        return {QStringLiteral("cannot check %1").arg(source)};
    QSaveFile pointer(programFolder.filePath(QStringLiteral("quindleFolder.ini")));
    if (!pointer.open(QIODevice::WriteOnly) || pointer.write("Kiosk\r\n") < 0 || !pointer.commit())
        return {QStringLiteral("cannot check %1").arg(source)};
    const std::vector<Finding> findings = KioskCheck(programFolder.path(), coreCount()).run();
    if (kioskWouldRun(findings))
        return {};
    QStringList problems;
    for (const Finding& finding : findings) {
        if (finding.severity == Severity::Error)
            problems << formatFinding(finding, programFolder.path());
    }
    return problems;
}

bool writeSmallFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// Older versions go, newest first kept; the one "current" names is never removed.
void keepNewest(const QString& versions, int keep, const QString& current)
{
    QStringList names =
        QDir(versions).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    names.removeIf([](const QString& name) { return !isVersionName(name); });
    for (qsizetype i = keep; i < names.size(); ++i) {
        if (names.at(i) == current)
            continue;
        QFile::remove(joinPath(versions, names.at(i) + QStringLiteral(".manifest")));
        QDir(joinPath(versions, names.at(i))).removeRecursively();
    }
}

} // namespace

PublishOutcome publishVersion(const PublishRequest& request, const QDateTime& nowUtc)
{
    PublishOutcome outcome;
    QString keyError;
    const std::optional<OwnerKey> key = OwnerKey::load(request.keyFile, keyError);
    if (!key) {
        outcome.error = keyError;
        return outcome;
    }
    outcome.problems = checkProblems(request.source);
    if (!outcome.problems.isEmpty()) {
        outcome.error =
            QStringLiteral("%1 would not start the kiosk; nothing was published").arg(request.source);
        return outcome;
    }
    const std::optional<std::vector<TreeEntry>> tree = scanTree(request.source, 10'000'000);
    if (!tree) {
        outcome.error = QStringLiteral("cannot read %1").arg(request.source);
        return outcome;
    }
    for (const TreeEntry& entry : *tree) {
        if (entry.kind == EntryKind::Link || entry.kind == EntryKind::Special ||
            !pathProblem(entry.path).isEmpty()) {
            outcome.error = QStringLiteral("%1: kiosks refuse links, special files and names with line ends")
                                .arg(entry.path);
            return outcome;
        }
    }

    const QString version = nowUtc.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString versions = joinPath(request.channel, QStringLiteral("versions"));
    const QString target = joinPath(versions, version);
    if (QFileInfo::exists(target)) {
        outcome.error =
            QStringLiteral("version %1 exists already; publish again a second later").arg(version);
        return outcome;
    }
    if (!QDir().mkpath(target)) {
        outcome.error = QStringLiteral("cannot make %1").arg(target);
        return outcome;
    }
    std::vector<ManifestEntry> entries;
    for (const TreeEntry& entry : *tree) {
        const QString to = joinPath(target, entry.path);
        if (entry.kind == EntryKind::Folder) {
            if (QDir().mkpath(to))
                continue;
            outcome.error = QStringLiteral("cannot make %1").arg(to);
            return outcome;
        }
        const std::optional<FileDigest> digest = copyFile(joinPath(request.source, entry.path), to);
        if (!digest) {
            outcome.error = QStringLiteral("cannot copy %1 to %2").arg(entry.path, to);
            return outcome;
        }
        entries.push_back(ManifestEntry{entry.path, digest->size, digest->sha256});
    }
    if (!writeSmallFile(joinPath(versions, version + QStringLiteral(".manifest")),
                        manifestText(version, entries, *key)) ||
        !writeSmallFile(joinPath(request.channel, QStringLiteral("current")), version.toUtf8() + '\n')) {
        outcome.error = QStringLiteral("cannot write the manifest or \"current\" in %1").arg(request.channel);
        return outcome;
    }
    keepNewest(versions, request.keep, version);
    outcome.version = version;
    return outcome;
}

} // namespace quindle::admin
