#pragma once

#include <QString>
#include <QStringList>

namespace quindle {

// Listings of one folder, read straight from the system's directory entries: names that
// are not valid UTF-8 are kept (see decodeFileName), which a QDir listing would drop.
//
// Both listings come in name order without regard to case; two names that differ only in
// case are ordered by their exact bytes, so the order never changes between scans.
// Hidden entries (names beginning with ".") are left out, and nothing below the folder is
// read. Links count as what they point to; a dangling link is neither file nor folder.
// A folder that cannot be read lists nothing.
class FolderListing
{
public:
    // The names of the regular files whose names match the pattern ("*" only, see
    // NamePattern).
    static QStringList listFiles(const QString& folder, const QString& pattern);

    // The full paths of the folders directly inside the folder.
    static QStringList listFolders(const QString& folder);
};

} // namespace quindle
