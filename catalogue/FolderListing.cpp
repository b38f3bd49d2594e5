#include "catalogue/FolderListing.h"

#include "catalogue/NamePattern.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace quindle {

namespace {

enum class EntryKind { File, Folder, Other };

EntryKind kindOfStat(int folderFd, const char* name)
{
    struct stat info
    {
    };
    if (::fstatat(folderFd, name, &info, 0) != 0)
        return EntryKind::Other;
    if (S_ISREG(info.st_mode))
        return EntryKind::File;
    if (S_ISDIR(info.st_mode))
        return EntryKind::Folder;
    return EntryKind::Other;
}

// The entry type the directory already reports saves a stat for nearly every entry; links
// and file systems that do not report types are asked.
EntryKind kindOf(int folderFd, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        return kindOfStat(folderFd, entry.d_name);
    default:
        return EntryKind::Other;
    }
}

// The names of one listing and their sort keys, kept in one block of bytes so that a
// folder of thousands of files costs a handful of allocations.
class SortedNames
{
public:
    void add(const char* name, size_t length)
    {
        Entry entry{offset(), offset(), static_cast<std::uint32_t>(length),
                    static_cast<std::uint32_t>(length)};
        m_bytes.append(name, length);
        if (isAscii(name, length)) {
            m_entries.push_back(entry);
            return;
        }
        // A name with other letters is sorted by its case-folded form, which may differ in
        // length; the key then has bytes of its own.
        const QByteArray key =
            encodeFileName(decodeFileName(QByteArray(name, static_cast<qsizetype>(length))).toCaseFolded());
        entry.key = offset();
        entry.keyLength = static_cast<std::uint32_t>(key.size());
        m_bytes.append(key.constData(), static_cast<size_t>(key.size()));
        entry.keyIsFolded = true;
        m_entries.push_back(entry);
    }

    QStringList names()
    {
        sort();
        QStringList result;
        result.reserve(static_cast<qsizetype>(m_entries.size()));
        for (const Entry& entry : m_entries)
            result.append(toName(entry));
        return result;
    }

    QStringList paths(const QString& folder)
    {
        sort();
        const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        QStringList result;
        result.reserve(static_cast<qsizetype>(m_entries.size()));
        for (const Entry& entry : m_entries)
            result.append(prefix + toName(entry));
        return result;
    }

private:
    struct Entry
    {
        std::uint32_t key;
        std::uint32_t name;
        std::uint32_t keyLength;
        std::uint32_t nameLength;
        bool keyIsFolded = false; // else the key is the name with ASCII letters folded
    };

    std::uint32_t offset() const { return static_cast<std::uint32_t>(m_bytes.size()); }

    std::string_view nameOf(const Entry& entry) const
    {
        return {m_bytes.data() + entry.name, entry.nameLength};
    }

    QString toName(const Entry& entry) const
    {
        const std::string_view name = nameOf(entry);
        if (!entry.keyIsFolded)
            return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        return decodeFileName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    }

    int compareKeys(const Entry& a, const Entry& b) const
    {
        const char* left = m_bytes.data() + a.key;
        const char* right = m_bytes.data() + b.key;
        const size_t common = std::min(a.keyLength, b.keyLength);
        for (size_t i = 0; i < common; ++i) {
            const unsigned char x = static_cast<unsigned char>(a.keyIsFolded ? left[i] : foldAscii(left[i]));
            const unsigned char y =
                static_cast<unsigned char>(b.keyIsFolded ? right[i] : foldAscii(right[i]));
            if (x != y)
                return x < y ? -1 : 1;
        }
        if (a.keyLength != b.keyLength)
            return a.keyLength < b.keyLength ? -1 : 1;
        return 0;
    }

    void sort()
    {
        std::sort(m_entries.begin(), m_entries.end(), [this](const Entry& a, const Entry& b) {
            const int order = compareKeys(a, b);
            if (order != 0)
                return order < 0;
            return nameOf(a) < nameOf(b);
        });
    }

    std::string m_bytes;
    std::vector<Entry> m_entries;
};

template <typename Accept> void readFolder(const QString& folder, SortedNames& names, Accept accept)
{
    DIR* dir = ::opendir(encodeFileName(folder).constData());
    if (dir == nullptr)
        return;
    const int folderFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const size_t length = std::strlen(entry->d_name);
        if (accept(folderFd, *entry, length))
            names.add(entry->d_name, length);
    }
    ::closedir(dir);
}

} // namespace

QStringList FolderListing::listFiles(const QString& folder, const QString& pattern)
{
    const NamePattern namePattern(pattern);
    SortedNames names;
    readFolder(folder, names, [&](int folderFd, const dirent& entry, size_t length) {
        return namePattern.matches(entry.d_name, length) && kindOf(folderFd, entry) == EntryKind::File;
    });
    return names.names();
}

QStringList FolderListing::listFolders(const QString& folder)
{
    SortedNames names;
    readFolder(folder, names, [](int folderFd, const dirent& entry, size_t) {
        return kindOf(folderFd, entry) == EntryKind::Folder;
    });
    return names.paths(folder);
}

} // namespace quindle
