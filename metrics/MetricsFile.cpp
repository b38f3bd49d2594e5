#include "metrics/MetricsFile.h"

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quindle {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The new figures reach the medium before the rename makes them the file, so that a power
// cut cannot leave an empty file in its place. Devices that cannot be synchronised say EINVAL.
bool syncToMedium(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return errno == EINVAL;
    }
    return true;
}

} // namespace

MetricsFile::MetricsFile(QString path) : m_path(std::move(path))
{
    m_thread.setMaxThreadCount(1);
}

MetricsFile::~MetricsFile()
{
    m_thread.waitForDone();
}

bool MetricsFile::startWrite(Text text)
{
    if (m_running.exchange(true))
        return false;
    m_thread.start([this, text = std::move(text)] {
        write(text);
        m_running = false;
    });
    return true;
}

bool MetricsFile::writeAndWait(const Text& text)
{
    m_thread.waitForDone();
    return write(text);
}

bool MetricsFile::write(const Text& text)
{
    const QString problem = replaceFile(m_path, text());
    if (problem.isEmpty()) {
        m_failing = false;
        return true;
    }
    if (!m_failing)
        writeMessageToStandardError(
            QStringLiteral("The metrics file \"%1\" cannot be written (%2); it is tried again every minute.")
                .arg(m_path, problem));
    m_failing = true;
    return false;
}

QString MetricsFile::replaceFile(const QString& path, const QByteArray& bytes)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash >= 0 ? path.left(slash + 1) : QString();
    // A hidden name without ".prom": the collector never reads the temporary file.
    QByteArray temporary =
        encodeFileName(folder + QLatin1Char('.') + path.mid(slash + 1) + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return systemError();
    // mkstemp makes the file readable by its owner alone; the collector runs as another user.
    bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes) == bytes.size() && syncToMedium(fd);
    QString problem = written ? QString() : systemError();
    if (::close(fd) != 0 && written) {
        written = false;
        problem = systemError();
    }
    if (written && ::rename(temporary.constData(), encodeFileName(path).constData()) == 0)
        return {};
    if (problem.isEmpty())
        problem = systemError();
    ::unlink(temporary.constData());
    return problem;
}

} // namespace quindle
