#include "system/support/NodeExporter.h"

#include "system/support/XServer.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace quindle::systemtest {

namespace {

constexpr int startLimitMs = 30'000;
constexpr int answerLimitMs = 10'000;

// A port that nothing listens on now; the exporter is started on it at once.
quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

NodeExporter::NodeExporter(const QString& textfileFolder)
{
    // A port taken between the probe and the start is tried once more on another.
    for (int attempt = 0; attempt < 3 && !m_running && !m_missing; ++attempt)
        m_running = start(textfileFolder);
}

NodeExporter::~NodeExporter()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10'000);
}

QString NodeExporter::programPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("prometheus-node-exporter"));
}

bool NodeExporter::start(const QString& textfileFolder)
{
    if (programPath().isEmpty()) {
        m_missing = true;
        m_problem =
            QStringLiteral("node_exporter is not installed (Debian package prometheus-node-exporter)");
        return false;
    }
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10'000);
    }
    m_port = freePort();
    m_process.setProgram(programPath());
    m_process.setArguments({QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(m_port),
                            QStringLiteral("--web.disable-exporter-metrics"),
                            QStringLiteral("--collector.disable-defaults"),
                            QStringLiteral("--collector.textfile"),
                            QStringLiteral("--collector.textfile.directory=") + textfileFolder});
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    endWithParent(m_process);
    m_process.start();
    if (!m_process.waitForStarted(startLimitMs)) {
        m_problem = QStringLiteral("node_exporter did not start: ") + m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(startLimitMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (!scrape().isEmpty())
            return true;
        m_process.waitForFinished(100);
    }
    m_problem = QStringLiteral("node_exporter did not answer on port %1: ").arg(m_port) +
                QString::fromUtf8(m_process.readAll());
    return false;
}

QByteArray NodeExporter::scrape()
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    if (!socket.waitForConnected(answerLimitMs)) {
        m_problem = QStringLiteral("no connection to node_exporter: ") + socket.errorString();
        return {};
    }
    socket.write("GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(answerLimitMs))
        answer += socket.readAll();
    answer += socket.readAll();
    const qsizetype bodyStart = answer.indexOf("\r\n\r\n");
    if (!answer.startsWith("HTTP/1.0 200") && !answer.startsWith("HTTP/1.1 200")) {
        m_problem = QStringLiteral("node_exporter answered: ") + QString::fromUtf8(answer.left(200));
        return {};
    }
    return bodyStart < 0 ? QByteArray() : answer.mid(bodyStart + 4);
}

QMap<QString, double> NodeExporter::samples(const QByteArray& exposition)
{
    QMap<QString, double> found;
    for (const QByteArray& line : exposition.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype valueStart = line.lastIndexOf(' ');
        found.insert(QString::fromUtf8(line.left(valueStart)), line.mid(valueStart + 1).toDouble());
    }
    return found;
}

} // namespace quindle::systemtest
