#pragma once

#include <QByteArray>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>

namespace quindle {

// The file that node_exporter's textfile collector reads. Every write goes to a temporary
// file in the same folder, which is then renamed over the file: a reader sees the former
// figures or the new ones, never half a file.
//
// Writes run on a thread of their own, so a slow or failing medium never holds up the kiosk.
// A write that fails is reported once to standard error; the next failures stay quiet until
// a write has succeeded again.
class MetricsFile
{
public:
    // Makes the text to write; it runs on the writing thread, so it may read folders.
    using Text = std::function<QByteArray()>;

    explicit MetricsFile(QString path);
    ~MetricsFile();
    MetricsFile(const MetricsFile&) = delete;
    MetricsFile& operator=(const MetricsFile&) = delete;

    const QString& path() const { return m_path; }

    // Starts a write in the background. False, and nothing started, while the previous write
    // is still running.
    bool startWrite(Text text);
    // Waits for a running write, then writes on the caller's thread. True when it succeeded.
    bool writeAndWait(const Text& text);

    // Replaces the file at path by the bytes through a temporary file beside it. Returns what
    // failed, "" when the file is in place.
    static QString replaceFile(const QString& path, const QByteArray& bytes);

private:
    bool write(const Text& text);

    QString m_path;
    QThreadPool m_thread;
    std::atomic<bool> m_running{false};
    // Touched only by the write under way, and writes never overlap.
    bool m_failing = false;
};

} // namespace quindle
