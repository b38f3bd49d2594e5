#include "tools/admin/ChannelFollower.h"

#include "platform/FileSystem.h"
#include "settings/SettingsReader.h"
#include "settings/SettingsText.h"
#include "tools/admin/Manifest.h"
#include "tools/admin/OwnerKey.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <fcntl.h>
#include <unistd.h>

namespace quindle::admin {

namespace {

using Result = FollowOutcome::Result;

const QString pointerName = QStringLiteral("quindleFolder.ini");
const QString previousName = QStringLiteral("quindleFolder.previous");
const QString rolledBackName = QStringLiteral("quindleFolder.rolledback");
const QString incomingName = QStringLiteral(".incoming");
constexpr qint64 maxManifestBytes = 256LL * 1024 * 1024;

FollowOutcome refused(const QString& version, const QString& message)
{
    return FollowOutcome{Result::Refused, version, message};
}

QByteArray readSmall(const QString& path, qint64 limit = 4096)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(limit) : QByteArray();
}

// The folder the pointer names, as its first line writes it.
QString pointerFolder(const QString& path)
{
    return trimSpaces(splitSettingsLines(decodeSettingsText(readSmall(path))).value(0));
}

bool writeSmallFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The owner's report reads which content each kiosk runs from its shared log folder.
void noteContentVersion(const QString& programFolder, const QString& version)
{
    const QString logFolder = resolveCaseless(programFolder, QStringLiteral("log files"));
    if (QDir().mkpath(logFolder))
        writeSmallFile(joinPath(logFolder, QStringLiteral("content version.txt")), version.toUtf8() + '\n');
}

// The previous pointer is kept first, so that a fault between the two writes leaves the
// kiosk on a folder it can roll back from.
bool switchPointer(const QString& programFolder, const QString& folder)
{
    const QString pointer = resolveCaseless(programFolder, pointerName);
    const QByteArray old = readSmall(pointer);
    if (!old.isEmpty() && !writeSmallFile(joinPath(programFolder, previousName), old))
        return false;
    return writeSmallFile(pointer, folder.toUtf8() + "\r\n");
}

QString signatureProblem(const Manifest& manifest, const QString& trustFile)
{
    QString error;
    const std::optional<std::vector<QByteArray>> trusted = readTrustFile(trustFile, error);
    if (!trusted)
        return error;
    if (std::find(trusted->begin(), trusted->end(), manifest.signer) == trusted->end())
        return QStringLiteral("signed by a key not in %1").arg(trustFile);
    if (!verifySignature(manifest.signer, manifest.signedPart, manifest.signature))
        return QStringLiteral("bad signature");
    return {};
}

// What the delivered folder holds beyond the manifest, or lacks, before anything is copied.
QString deliveryProblem(const Manifest& manifest, const QString& folder, const FollowRequest& request)
{
    QHash<QString, qint64> listed;
    qint64 total = 0;
    for (const ManifestEntry& entry : manifest.entries) {
        listed.insert(entry.path, entry.size);
        total += entry.size;
    }
    if (manifest.entries.size() > static_cast<size_t>(request.maxFiles) || total > request.maxBytes)
        return QStringLiteral("larger than the limit of %1 files, %2 bytes")
            .arg(request.maxFiles)
            .arg(request.maxBytes);
    const std::optional<std::vector<TreeEntry>> tree = scanTree(folder, request.maxFiles * 2);
    if (!tree)
        return QStringLiteral("not complete: its folder has not arrived");
    if (tree->size() > static_cast<size_t>(request.maxFiles) * 2)
        return QStringLiteral("larger than the limit of %1 files").arg(request.maxFiles);
    qsizetype found = 0;
    for (const TreeEntry& entry : *tree) {
        if (entry.kind == EntryKind::Link)
            return QStringLiteral("\"%1\" is a symbolic link").arg(entry.path);
        if (entry.kind == EntryKind::Special)
            return QStringLiteral("\"%1\" is a special file").arg(entry.path);
        if (entry.kind == EntryKind::Folder)
            continue;
        // Syncthing writes each file under a temporary name and renames it when complete.
        if (fileNameOf(entry.path).startsWith(QLatin1String(".syncthing.")))
            return QStringLiteral("not complete: \"%1\" is still arriving").arg(entry.path);
        const auto size = listed.constFind(entry.path);
        if (size == listed.constEnd())
            return QStringLiteral("\"%1\" is not listed in the manifest").arg(entry.path);
        if (*size != entry.size)
            return QStringLiteral("not complete: \"%1\" has %2 bytes, the manifest %3")
                .arg(entry.path)
                .arg(entry.size)
                .arg(*size);
        ++found;
    }
    if (found == static_cast<qsizetype>(manifest.entries.size()))
        return {};
    for (const ManifestEntry& entry : manifest.entries) {
        if (!QFileInfo(joinPath(folder, entry.path)).isFile())
            return QStringLiteral("not complete: \"%1\" is missing").arg(entry.path);
    }
    return QStringLiteral("not complete");
}

// Each file is linked where the file system allows (the channel's copy is replaced, never
// changed in place, when a new one arrives) and copied otherwise; then what landed in the
// program folder is hashed, so what is checked is what the kiosk will read.
QString stage(const Manifest& manifest, const QString& from, const QString& to)
{
    for (const ManifestEntry& entry : manifest.entries) {
        const QString source = joinPath(from, entry.path);
        const QString target = joinPath(to, entry.path);
        if (!QDir().mkpath(folderOf(target)))
            return QStringLiteral("cannot make the folder of %1").arg(target);
        // linkat without AT_SYMLINK_FOLLOW links a link itself, never what it names.
        const bool linked = ::linkat(AT_FDCWD, QFile::encodeName(source).constData(), AT_FDCWD,
                                     QFile::encodeName(target).constData(), 0) == 0;
        if (!linked && !copyFile(source, target))
            return QStringLiteral("cannot copy \"%1\"").arg(entry.path);
        const std::optional<FileDigest> digest = digestFile(target);
        if (!digest || digest->size != entry.size || digest->sha256 != entry.sha256)
            return QStringLiteral("\"%1\" differs from the manifest (SHA-256)").arg(entry.path);
    }
    return {};
}

// Folders of versions neither current nor previous go, and whatever an earlier follow left
// half made.
void tidy(const QString& programFolder, const QString& current)
{
    const QString previous = pointerFolder(joinPath(programFolder, previousName));
    for (const QString& name : QDir(programFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (isVersionName(name) && name != current && name != previous)
            QDir(joinPath(programFolder, name)).removeRecursively();
    }
}

} // namespace

FollowOutcome followChannel(const FollowRequest& request)
{
    const QString version =
        QString::fromUtf8(readSmall(joinPath(request.channel, QStringLiteral("current")))).trimmed();
    if (!isVersionName(version))
        return refused(
            version,
            QStringLiteral("%1 names no version").arg(joinPath(request.channel, QStringLiteral("current"))));
    const QString program = request.programFolder;
    if (pointerFolder(resolveCaseless(program, pointerName)) == version)
        return FollowOutcome{Result::NoChange, version,
                             QStringLiteral("version %1 is in use already").arg(version)};
    if (pointerFolder(joinPath(program, rolledBackName)) == version)
        return FollowOutcome{
            Result::NoChange, version,
            QStringLiteral("version %1 was rolled back on this kiosk; publish a new one").arg(version)};

    const QString versions = joinPath(request.channel, QStringLiteral("versions"));
    const QString manifestPath = joinPath(versions, version + QStringLiteral(".manifest"));
    if (!QFileInfo(manifestPath).isFile())
        return refused(
            version, QStringLiteral("version %1 is not complete: its manifest has not arrived").arg(version));
    if (QFileInfo(manifestPath).size() > maxManifestBytes)
        return refused(version,
                       QStringLiteral("version %1: the manifest is larger than the limit").arg(version));
    QString error;
    const std::optional<Manifest> manifest = readManifest(readSmall(manifestPath, maxManifestBytes), error);
    if (!manifest)
        return refused(version, QStringLiteral("version %1 refused: %2").arg(version, error));
    if (manifest->version != version)
        return refused(
            version,
            QStringLiteral("version %1 refused: its manifest is for %2").arg(version, manifest->version));
    if (const QString problem = signatureProblem(*manifest, request.trustFile); !problem.isEmpty())
        return refused(version, QStringLiteral("version %1 refused: %2").arg(version, problem));
    const QString delivered = joinPath(versions, version);
    if (const QString problem = deliveryProblem(*manifest, delivered, request); !problem.isEmpty())
        return refused(version, QStringLiteral("version %1 refused: %2").arg(version, problem));

    // The version is made and checked inside a program folder of its own, ".incoming",
    // and moved beside the running one only when the kiosk's reader accepts it.
    const QString incoming = joinPath(program, incomingName);
    // Whatever stands there is removed itself, never what a link there names.
    if (QFileInfo(incoming).isSymLink())
        QFile::remove(incoming);
    QDir(incoming).removeRecursively();
    const QString staged = joinPath(incoming, version);
    if (const QString problem = stage(*manifest, delivered, staged); !problem.isEmpty()) {
        QDir(incoming).removeRecursively();
        return refused(version, QStringLiteral("version %1 refused: %2").arg(version, problem));
    }
    writeSmallFile(joinPath(incoming, pointerName), version.toUtf8() + "\r\n");
    const SettingsResult settings = SettingsReader(incoming).read();
    if (!settings.ok()) {
        QDir(incoming).removeRecursively();
        return refused(version, QStringLiteral("version %1 would not start the kiosk: %2")
                                    .arg(version, settings.message.simplified()));
    }
    const QString target = joinPath(program, version);
    QDir(target).removeRecursively();
    if (!QDir().rename(staged, target) || !switchPointer(program, version)) {
        QDir(incoming).removeRecursively();
        return refused(version, QStringLiteral("cannot switch %1 to version %2").arg(program, version));
    }
    QDir(incoming).removeRecursively();
    QFile::remove(joinPath(program, rolledBackName));
    noteContentVersion(program, version);
    tidy(program, version);
    return FollowOutcome{Result::Taken, version, QStringLiteral("version %1 taken").arg(version)};
}

FollowOutcome rollBack(const QString& programFolder)
{
    const QString previous = pointerFolder(joinPath(programFolder, previousName));
    if (previous.isEmpty())
        return refused({}, QStringLiteral("there is no previous version in %1").arg(programFolder));
    if (!folderExists(resolveCaseless(programFolder, previous)))
        return refused(previous, QStringLiteral("the previous folder %1 is gone").arg(previous));
    const QString current = pointerFolder(resolveCaseless(programFolder, pointerName));
    if (!writeSmallFile(joinPath(programFolder, rolledBackName), current.toUtf8() + '\n') ||
        !switchPointer(programFolder, previous))
        return refused(previous, QStringLiteral("cannot rewrite the pointer file in %1").arg(programFolder));
    noteContentVersion(programFolder, previous);
    return FollowOutcome{Result::Taken, previous, QStringLiteral("back on %1").arg(previous)};
}

} // namespace quindle::admin
