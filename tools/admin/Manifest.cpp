#include "tools/admin/Manifest.h"

#include "tools/admin/OwnerKey.h"

#include "platform/FileSystem.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quindle::admin {

namespace {

const QByteArray headerLine = "quindle-manifest 1";

} // namespace

QByteArray manifestText(const QString& version, const std::vector<ManifestEntry>& entries,
                        const OwnerKey& key)
{
    QByteArray text = headerLine + "\nversion " + version.toUtf8() + '\n';
    for (const ManifestEntry& entry : entries)
        text +=
            entry.sha256.toHex() + ' ' + QByteArray::number(entry.size) + ' ' + entry.path.toUtf8() + '\n';
    text += "signed-by " + publicKeyLine(key.publicKey()).toUtf8() + '\n';
    return text + "signature " + key.sign(text).toBase64() + '\n';
}

QString pathProblem(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("an empty path");
    if (path.startsWith(QLatin1Char('/')))
        return QStringLiteral("an absolute path");
    if (path.contains(QLatin1Char('\0')) || path.contains(QLatin1Char('\n')) ||
        path.contains(QLatin1Char('\r')))
        return QStringLiteral("a line end or NUL in a name");
    for (const QString& step : path.split(QLatin1Char('/'))) {
        if (step == QLatin1String(".."))
            return QStringLiteral("a \"..\" step");
        if (step.isEmpty() || step == QLatin1String("."))
            return QStringLiteral("an empty or \".\" step");
    }
    return {};
}

std::optional<Manifest> readManifest(const QByteArray& text, QString& error)
{
    const qsizetype signedEnd = text.lastIndexOf("\nsignature ");
    if (signedEnd < 0) {
        error = QStringLiteral("missing signature");
        return std::nullopt;
    }
    Manifest manifest;
    manifest.signedPart = text.first(signedEnd + 1);
    manifest.signature = QByteArray::fromBase64(text.sliced(signedEnd + 11).trimmed());
    QList<QByteArray> lines = manifest.signedPart.split('\n');
    lines.removeLast(); // after the last line end
    if (lines.size() < 3 || lines.first() != headerLine || !lines.at(1).startsWith("version ") ||
        !lines.last().startsWith("signed-by ")) {
        error = QStringLiteral("not a manifest");
        return std::nullopt;
    }
    manifest.version = QString::fromUtf8(lines.at(1).sliced(8));
    const std::optional<QByteArray> signer = readPublicKeyLine(QString::fromUtf8(lines.last().sliced(10)));
    if (!signer) {
        error = QStringLiteral("missing signature (no signer's key)");
        return std::nullopt;
    }
    manifest.signer = *signer;
    for (qsizetype i = 2; i + 1 < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        const qsizetype hashEnd = line.indexOf(' ');
        const qsizetype sizeEnd = line.indexOf(' ', hashEnd + 1);
        bool sizeRead = false;
        ManifestEntry entry;
        if (hashEnd == 64 && sizeEnd > hashEnd) {
            entry.sha256 = QByteArray::fromHex(line.first(hashEnd));
            entry.size = line.sliced(hashEnd + 1, sizeEnd - hashEnd - 1).toLongLong(&sizeRead);
            entry.path = QString::fromUtf8(line.sliced(sizeEnd + 1));
        }
        if (!sizeRead || entry.size < 0 || entry.sha256.size() != 32) {
            error = QStringLiteral("manifest line %1 is damaged").arg(i + 1);
            return std::nullopt;
        }
        if (const QString problem = pathProblem(entry.path); !problem.isEmpty()) {
            error = QStringLiteral("\"%1\" in the manifest: %2").arg(entry.path, problem);
            return std::nullopt;
        }
        manifest.entries.push_back(std::move(entry));
    }
    return manifest;
}

std::optional<std::vector<TreeEntry>> scanTree(const QString& folder, qsizetype maxEntries)
{
    namespace fs = std::filesystem;
    std::error_code fault;
    const fs::path root(QFile::encodeName(folder).toStdString());
    fs::recursive_directory_iterator it(root, fs::directory_options::none, fault);
    if (fault)
        return std::nullopt;
    std::vector<TreeEntry> entries;
    for (; it != fs::recursive_directory_iterator(); it.increment(fault)) {
        if (fault)
            return std::nullopt;
        const fs::file_status status = it->symlink_status(fault);
        TreeEntry entry;
        entry.path =
            QFile::decodeName(QByteArray::fromStdString(it->path().lexically_relative(root).string()));
        if (fs::is_symlink(status))
            entry.kind = EntryKind::Link;
        else if (fs::is_directory(status))
            entry.kind = EntryKind::Folder;
        else if (fs::is_regular_file(status))
            entry.size = static_cast<qint64>(it->file_size(fault));
        else
            entry.kind = EntryKind::Special;
        entries.push_back(std::move(entry));
        if (static_cast<qsizetype>(entries.size()) > maxEntries)
            break;
    }
    if (fault)
        return std::nullopt;
    std::sort(entries.begin(), entries.end(),
              [](const TreeEntry& a, const TreeEntry& b) { return a.path < b.path; });
    return entries;
}

std::optional<FileDigest> digestFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info = {};
    QFile file;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return std::nullopt;
    return FileDigest{hash.result(), file.pos()};
}

std::optional<FileDigest> copyFile(const QString& from, const QString& to)
{
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info = {};
    if (in < 0 || ::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (in >= 0)
            ::close(in);
        return std::nullopt;
    }
    const int out =
        ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    qint64 size = 0;
    bool copied = out >= 0;
    while (copied) {
        const ssize_t got = ::read(in, buffer.data(), static_cast<size_t>(buffer.size()));
        if (got <= 0) {
            copied = got == 0;
            break;
        }
        const QByteArrayView chunk(buffer.constData(), got);
        hash.addData(chunk);
        size += got;
        copied = writeAll(out, chunk) == got;
    }
    ::close(in);
    if (out >= 0 && ::close(out) != 0)
        copied = false;
    if (!copied)
        return std::nullopt;
    return FileDigest{hash.result(), size};
}

bool isVersionName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{8}T\\d{6}Z$"));
    return pattern.match(name).hasMatch();
}

} // namespace quindle::admin
