#include "platform/FileSystem.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quindle {

namespace {

constexpr char16_t escapeBase = 0xDC00;

// Length of the valid UTF-8 sequence that starts at "at", or 0 when it is not valid. The
// scanning walks pointers: names are decoded for every line the kiosk logs.
int validSequenceLength(const unsigned char* at, const unsigned char* end)
{
    const unsigned char lead = *at;
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t minimum = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (end - at < length)
        return 0;
    for (const unsigned char* next = at + 1; next != at + length; ++next) {
        if ((*next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (*next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// Where the run of valid UTF-8 sequences that starts at "from" ends.
const unsigned char* validRunEnd(const unsigned char* from, const unsigned char* end)
{
    while (from != end) {
        const int length = validSequenceLength(from, end);
        if (length == 0)
            break;
        from += length;
    }
    return from;
}

} // namespace

QString decodeFileName(const QByteArray& bytes)
{
    // Most names are valid UTF-8 and nothing else (Qt's check refuses what validRunEnd
    // refuses: overlong forms, surrogates, code points above U+10FFFF). QString::fromUtf8
    // drops a byte order mark at the start, and a name without it could not be opened again.
    if (bytes.isValidUtf8() && !bytes.startsWith("\xef\xbb\xbf"))
        return QString::fromUtf8(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    // Each byte gives at most one UTF-16 unit.
    QString name(bytes.size(), Qt::Uninitialized);
    QChar* out = name.data();
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* end = at + bytes.size();
    while (at != end) {
        const unsigned char* runEnd = validRunEnd(at, end);
        if (runEnd != at) {
            out = utf8.appendToBuffer(out, QByteArrayView(at, runEnd));
            at = runEnd;
            continue;
        }
        *out++ = QChar(static_cast<char16_t>(escapeBase + *at++));
    }
    name.truncate(out - name.constData());
    return name;
}

QByteArray encodeFileName(const QString& name)
{
    QByteArray bytes;
    appendFileName(bytes, name);
    return bytes;
}

void appendFileName(QByteArray& bytes, QStringView name)
{
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype start = bytes.size();
    bytes.resize(start + utf8.requiredSpace(name.size()));
    char* out = bytes.data() + start;
    const QChar* run = name.begin();
    for (const QChar* at = name.begin(); at != name.end(); ++at) {
        if (!at->isSurrogate())
            continue;
        if (at->isHighSurrogate() && at + 1 != name.end() && at[1].isLowSurrogate()) {
            ++at;
            continue;
        }
        // A lone surrogate: a kept byte, or "?" as QString::toUtf8 writes it.
        out = utf8.appendToBuffer(out, QStringView(run, at));
        const char16_t unit = at->unicode();
        const bool kept = unit >= escapeBase + 0x80 && unit <= escapeBase + 0xFF;
        *out++ = kept ? static_cast<char>(unit - escapeBase) : '?';
        run = at + 1;
    }
    out = utf8.appendToBuffer(out, QStringView(run, name.end()));
    bytes.truncate(out - bytes.constData());
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString folderOf(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool fileExists(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(encodeFileName(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool folderExists(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(encodeFileName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool renameFile(const QString& from, const QString& to)
{
    return std::rename(encodeFileName(from).constData(), encodeFileName(to).constData()) == 0;
}

int openForReading(const QString& path)
{
    return ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
}

qsizetype writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += written;
    }
    return done;
}

namespace {

QString resolveComponent(const QString& folder, const QString& component)
{
    const QString exact = joinPath(folder, component);
    if (component.isEmpty() || component == QLatin1String(".") || component == QLatin1String(".."))
        return exact;
    struct stat info
    {
    };
    if (::lstat(encodeFileName(exact).constData(), &info) == 0)
        return exact;
    DIR* dir = ::opendir(encodeFileName(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return exact;
    QString best;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = decodeFileName(QByteArray(entry->d_name));
        if (name.compare(component, Qt::CaseInsensitive) != 0)
            continue;
        if (best.isEmpty() || name < best)
            best = name;
    }
    ::closedir(dir);
    return best.isEmpty() ? exact : joinPath(folder, best);
}

} // namespace

QString resolveCaseless(const QString& folder, const QString& relativeName)
{
    QString path = folder;
    const QStringList components = relativeName.split(QLatin1Char('/'));
    for (const QString& component : components) {
        if (component.isEmpty())
            continue;
        path = resolveComponent(path, component);
    }
    if (relativeName.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace quindle
