#pragma once

#include <QMap>
#include <QProcess>
#include <QStandardPaths>

namespace quindle::systemtest {

// node_exporter from the Debian package "prometheus-node-exporter", serving its textfile collector
// alone on a free port of 127.0.0.1, as a shop machine's monitoring reads the kiosk. QProcess ends
// it with this object; it also dies with the test program if that is killed.
class NodeExporter
{
public:
    explicit NodeExporter(const QString& textfileFolder);

    static QString programPath()
    {
        return QStandardPaths::findExecutable(QStringLiteral("prometheus-node-exporter"));
    }
    // Why it does not answer; "" once it does.
    QString problem() const { return m_problem; }

    // The samples that an HTTP GET of /metrics answers by series, as "name" or
    // "name{label="value",…}" in the exporter's order of labels; none when it fails (problem() says why).
    QMap<QString, double> scrape();

private:
    QProcess m_process;
    quint16 m_port = 0;
    QString m_problem;
};

} // namespace quindle::systemtest
