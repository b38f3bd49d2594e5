#include "system/pictures/ProcessMemory.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <malloc.h>

namespace quindle::test {

namespace {

// A "Vm…" figure of /proc/self/status in bytes.
std::int64_t statusFigure(const QByteArray& name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    EXPECT_TRUE(status.open(QIODevice::ReadOnly));
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf('\n' + name + ':') + name.size() + 2;
    return text.mid(at, text.indexOf(" kB", at) - at).trimmed().toLongLong() * 1024;
}

} // namespace

std::int64_t heapInUse()
{
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<std::int64_t>(info.uordblks) + static_cast<std::int64_t>(info.hblkhd);
}

// The listing's own descriptor is among them, the same in every count. Descriptors of pipes and
// sockets are links to nothing: System lists them too.
int openDescriptors()
{
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    return static_cast<int>(
        descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

// Writing 5 to clear_refs sets the peak back to the present resident size.
std::int64_t peakGrowthDuring(const std::function<void()>& action)
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    EXPECT_TRUE(clear.open(QIODevice::WriteOnly) && clear.write("5") == 1 && clear.flush())
        << "the kernel cannot reset the peak of the resident memory";
    const std::int64_t before = statusFigure("VmRSS");
    action();
    return statusFigure("VmHWM") - before;
}

} // namespace quindle::test
