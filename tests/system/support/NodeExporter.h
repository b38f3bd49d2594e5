#pragma once

#include "system/support/LocalService.h"

#include <QMap>
#include <QStandardPaths>

namespace quindle::systemtest {

// node_exporter from the Debian package "prometheus-node-exporter", serving its textfile collector
// alone on a free port of 127.0.0.1, as a shop machine's monitoring reads the kiosk.
class NodeExporter
{
public:
    explicit NodeExporter(const QString& textfileFolder)
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        if (!startService(m_process, programPath(),
                          {QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(m_port),
                           "--web.disable-exporter-metrics", "--collector.disable-defaults",
                           "--collector.textfile", "--collector.textfile.directory=" + textfileFolder},
                          [&] { return !scrape().isEmpty(); }))
            m_problem = QStringLiteral("no answer on port %1; node_exporter said: %2")
                            .arg(m_port)
                            .arg(QString::fromUtf8(m_process.readAll()));
    }

    static QString programPath() { return QStandardPaths::findExecutable("prometheus-node-exporter"); }
    // Why it does not answer; "" once it does.
    QString problem() const { return m_problem; }

    // The samples that an HTTP GET of /metrics answers by series, as "name" or
    // "name{label="value",…}" in the exporter's order of labels; none when it fails.
    QMap<QString, double> scrape()
    {
        QMap<QString, double> found;
        for (const QByteArray& line :
             httpRequest(m_port, "GET /metrics HTTP/1.0\r\n\r\n").value_or("").split('\n')) {
            const qsizetype valueStart = line.lastIndexOf(' ');
            if (!line.isEmpty() && !line.startsWith('#'))
                found.insert(QString::fromUtf8(line.left(valueStart)), line.mid(valueStart + 1).toDouble());
        }
        return found;
    }

private:
    QProcess m_process;
    quint16 m_port = freePort();
    QString m_problem;
};

} // namespace quindle::systemtest
