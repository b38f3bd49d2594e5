#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quindle {

// File names on Linux are bytes. The kiosk holds them as QString; a byte that is not
// part of valid UTF-8 is kept as the lone surrogate U+DC00 + byte, so that every name
// read from a folder can be shown, logged and opened again unchanged.
QString decodeFileName(const QByteArray& bytes);
QByteArray encodeFileName(const QString& name);
// Appends what encodeFileName gives, without a second buffer.
void appendFileName(QByteArray& bytes, QStringView name);

// Paths are joined with "/".
QString joinPath(const QString& folder, const QString& name);
// The whole name after the last "/" of a path; the text itself when it has none.
QString fileNameOf(const QString& path);
// The path up to and with its last "/"; empty when it has none.
QString folderOf(const QString& path);

bool fileExists(const QString& path);   // an existing entry that is not a folder
bool folderExists(const QString& path); // an existing folder (links followed)
bool renameFile(const QString& from, const QString& to);

// Opens a file for reading and returns its descriptor, or -1.
int openForReading(const QString& path);

// Writes the whole block, resuming after short and interrupted writes. Returns the bytes
// written: fewer than the block holds when the file refused the rest.
qsizetype writeAll(int fd, QByteArrayView bytes);

// Resolves a name below a folder without regard to letter case, one path component at a
// time: an exact match first, else the entry of that folder whose name matches ignoring
// case (the first in name order when several do). Components that match nothing are kept
// as written, so the result names the path that an existence test will then refuse.
QString resolveCaseless(const QString& folder, const QString& relativeName);

} // namespace quindle
