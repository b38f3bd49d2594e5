#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace quindle::admin {

class OwnerKey;

struct ManifestEntry
{
    QString path; // relative to the version's folder, "/" between names
    qint64 size = 0;
    QByteArray sha256; // raw
};

// A published version's list of files, signed by its publisher. As text:
//   quindle-manifest 1
//   version 20260512T101500Z
//   <sha256 hex> <size> <path>          one line per file
//   signed-by ed25519 <base64 public key>
//   signature <base64 signature of every byte above this line>
struct Manifest
{
    QString version;
    std::vector<ManifestEntry> entries;
    QByteArray signer;
    QByteArray signature;
    QByteArray signedPart;
};

QByteArray manifestText(const QString& version, const std::vector<ManifestEntry>& entries,
                        const OwnerKey& key);

// The manifest a text holds, or nothing with error saying what is wrong with it. Entry
// paths are checked here: each must be a plain relative path inside the version.
std::optional<Manifest> readManifest(const QByteArray& text, QString& error);

// Why a path may not stand in a manifest (absolute, a "." or ".." step, an empty step, a
// line end or NUL), or an empty text when it may.
QString pathProblem(const QString& path);

enum class EntryKind { File, Folder, Link, Special };

struct TreeEntry
{
    QString path; // relative
    EntryKind kind = EntryKind::File;
    qint64 size = 0;
};

// Every entry below a folder, links reported and never followed, in name order. Stops
// after maxEntries entries (the caller sees one more than it allows). Nothing when the
// folder cannot be read.
std::optional<std::vector<TreeEntry>> scanTree(const QString& folder, qsizetype maxEntries);

// The SHA-256 and size of a regular file, opened without following a link; nothing for a
// link, a special file or a read fault.
struct FileDigest
{
    QByteArray sha256;
    qint64 size = 0;
};
std::optional<FileDigest> digestFile(const QString& path);

// Copies a regular file to a new file (never replacing one, never through a link) and
// gives the digest of what was written; nothing on any fault.
std::optional<FileDigest> copyFile(const QString& from, const QString& to);

// The version name a publish gives: the UTC time, "yyyymmddThhmmssZ".
bool isVersionName(const QString& name);

} // namespace quindle::admin
