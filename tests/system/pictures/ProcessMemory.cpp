#include "system/pictures/ProcessMemory.h"

#include <QByteArray>
#include <QFile>
#include <dirent.h>
#include <malloc.h>

namespace quindle::test {

namespace {

// A "Vm…" figure of /proc/self/status in bytes, or -1.
std::int64_t statusFigure(const QByteArray& name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(name + ':'))
            continue;
        bool ok = false;
        const std::int64_t kilobytes =
            line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kilobytes * 1024 : -1;
    }
    return -1;
}

} // namespace

std::int64_t heapInUse()
{
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<std::int64_t>(info.uordblks) + static_cast<std::int64_t>(info.hblkhd);
}

int openDescriptors()
{
    // The listing's own descriptor is among them, the same in every count.
    DIR* folder = ::opendir("/proc/self/fd");
    if (!folder)
        return -1;
    int count = 0;
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    ::closedir(folder);
    return count;
}

std::optional<std::int64_t> peakGrowthDuring(const std::function<void()>& action)
{
    // Writing 5 to clear_refs sets the peak back to the present resident size.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return std::nullopt;
    clear.close();
    const std::int64_t before = statusFigure("VmRSS");
    action();
    const std::int64_t peak = statusFigure("VmHWM");
    if (before < 0 || peak < 0)
        return std::nullopt;
    return peak - before;
}

} // namespace quindle::test
