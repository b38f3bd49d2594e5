#include "system/support/NodeExporter.h"

#include "system/support/XServer.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>

namespace quindle::systemtest {

NodeExporter::NodeExporter(const QString& textfileFolder)
{
    // A port that nothing listens on now; the exporter takes it at once.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    m_port = probe.serverPort();
    probe.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    endWithParent(m_process);
    m_process.start(programPath(),
                    {QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(m_port),
                     QStringLiteral("--web.disable-exporter-metrics"),
                     QStringLiteral("--collector.disable-defaults"), QStringLiteral("--collector.textfile"),
                     QStringLiteral("--collector.textfile.directory=") + textfileFolder});
    for (const QDeadlineTimer deadline(30'000); scrape().isEmpty(); m_process.waitForFinished(100)) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning) {
            m_problem += QStringLiteral("; node_exporter said: ") + QString::fromUtf8(m_process.readAll());
            return;
        }
    }
    m_problem.clear();
}

QMap<QString, double> NodeExporter::scrape()
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    socket.write("GET /metrics HTTP/1.0\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(10'000))
        answer += socket.readAll();
    QMap<QString, double> found;
    if (answer.mid(9, 4) != "200 ") {
        m_problem = QStringLiteral("port %1: %2 ").arg(m_port).arg(socket.errorString()) + answer.left(200);
        return found;
    }
    for (const QByteArray& line : answer.mid(answer.indexOf("\r\n\r\n") + 4).split('\n')) {
        const qsizetype valueStart = line.lastIndexOf(' ');
        if (!line.isEmpty() && !line.startsWith('#'))
            found.insert(QString::fromUtf8(line.left(valueStart)), line.mid(valueStart + 1).toDouble());
    }
    return found;
}

} // namespace quindle::systemtest
