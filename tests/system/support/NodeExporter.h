#pragma once

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>

namespace quindle::systemtest {

// node_exporter from the Debian package "prometheus-node-exporter", serving its textfile
// collector alone on a free port of 127.0.0.1, as a shop machine's monitoring reads the
// kiosk. It is ended by its process id when this object goes, and dies with the test
// program if that is killed.
class NodeExporter
{
public:
    explicit NodeExporter(const QString& textfileFolder);
    ~NodeExporter();
    NodeExporter(const NodeExporter&) = delete;
    NodeExporter& operator=(const NodeExporter&) = delete;

    static QString programPath();
    // True when the package is not installed: a reason to skip, not to fail.
    bool isMissing() const { return m_missing; }
    bool isRunning() const { return m_running; }
    QString problem() const { return m_problem; }

    // What an HTTP GET of /metrics answers, "" when it fails (problem() says why).
    QByteArray scrape();

    // The samples of a scrape by series, as "name" or "name{label="value",…}" in the
    // exporter's own order of labels.
    static QMap<QString, double> samples(const QByteArray& exposition);

private:
    bool start(const QString& textfileFolder);

    QProcess m_process;
    quint16 m_port = 0;
    QString m_problem;
    bool m_missing = false;
    bool m_running = false;
};

} // namespace quindle::systemtest
