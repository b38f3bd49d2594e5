#include "system/pictures/ProcessMemory.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <malloc.h>

namespace quindle::test {

namespace {

// A "Vm…" figure of /proc/self/status in bytes, or -1.
std::int64_t statusFigure(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression figure(QStringLiteral("^%1:\\s*(\\d+) kB$").arg(QLatin1String(name)),
                                    QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = figure.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() * 1024 : -1;
}

} // namespace

std::int64_t heapInUse()
{
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<std::int64_t>(info.uordblks) + static_cast<std::int64_t>(info.hblkhd);
}

int openDescriptors()
{
    // The listing's own descriptor is among them, the same in every count. Descriptors of pipes
    // and sockets are links to nothing: System lists them too.
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
}

std::optional<std::int64_t> peakGrowthDuring(const std::function<void()>& action)
{
    // Writing 5 to clear_refs sets the peak back to the present resident size.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1 || !clear.flush())
        return std::nullopt;
    const std::int64_t before = statusFigure("VmRSS");
    action();
    const std::int64_t peak = statusFigure("VmHWM");
    return before < 0 || peak < 0 ? std::nullopt : std::optional(peak - before);
}

} // namespace quindle::test
