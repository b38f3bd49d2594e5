#include "system/support/Syncthing.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUuid>

namespace quindle::systemtest {

Syncthing::Syncthing(const QString& home, const QString& name)
    : m_home(home), m_name(name), m_apiKey(QUuid::createUuid().toString(QUuid::Id128))
{
    QProcess generate;
    generate.setProcessChannelMode(QProcess::MergedChannels);
    generate.start(programPath(),
                   {QStringLiteral("generate"), QStringLiteral("--home=") + home,
                    QStringLiteral("--no-default-folder"), QStringLiteral("--skip-port-probing")});
    generate.waitForFinished(60'000);
    const QString said = QString::fromUtf8(generate.readAll());
    const QRegularExpressionMatch id = QRegularExpression(QStringLiteral("Device ID: (\\S+)")).match(said);
    if (!id.hasMatch())
        m_problem = QStringLiteral("syncthing generate said: ") + said;
    m_deviceId = id.captured(1);
}

void Syncthing::addFolder(const QString& id, const QString& path, FolderType type, const QStringList& peers)
{
    // A folder without its marker is taken for an unmounted disk and never synchronised.
    QDir().mkpath(path + QStringLiteral("/.stfolder"));
    m_folders.push_back(Folder{id, path, type, peers});
}

QString Syncthing::configuration() const
{
    QString xml = QStringLiteral("<configuration version=\"36\">\n");
    for (const Folder& folder : m_folders) {
        xml +=
            QStringLiteral("<folder id=\"%1\" label=\"%1\" path=\"%2\" type=\"%3\" rescanIntervalS=\"3600\" "
                           "fsWatcherEnabled=\"false\" ignorePerms=\"false\" autoNormalize=\"true\">"
                           "<device id=\"%4\"></device>")
                .arg(folder.id, folder.path.toHtmlEscaped(),
                     QString(folder.type == FolderType::SendOnly ? "sendonly" : "receiveonly"), m_deviceId);
        for (const Peer& peer : m_peers) {
            if (folder.peers.contains(peer.name))
                xml += QStringLiteral("<device id=\"%1\"></device>").arg(peer.deviceId);
        }
        xml += QStringLiteral("</folder>\n");
    }
    xml += QStringLiteral("<device id=\"%1\" name=\"%2\"><address>dynamic</address></device>\n")
               .arg(m_deviceId, m_name);
    for (const Peer& peer : m_peers)
        xml +=
            QStringLiteral("<device id=\"%1\" name=\"%2\"><address>tcp://127.0.0.1:%3</address></device>\n")
                .arg(peer.deviceId, peer.name)
                .arg(peer.port);
    xml += QStringLiteral(
               "<gui enabled=\"true\" tls=\"false\"><address>127.0.0.1:%1</address><apikey>%2</apikey>"
               "</gui>\n")
               .arg(m_guiPort)
               .arg(m_apiKey);
    xml += QStringLiteral(
               "<options><listenAddress>tcp://127.0.0.1:%1</listenAddress>"
               "<globalAnnounceEnabled>false</globalAnnounceEnabled>"
               "<localAnnounceEnabled>false</localAnnounceEnabled>"
               "<relaysEnabled>false</relaysEnabled><natEnabled>false</natEnabled>"
               "<urAccepted>-1</urAccepted><autoUpgradeIntervalH>0</autoUpgradeIntervalH>"
               "<startBrowser>false</startBrowser><crashReportingEnabled>false</crashReportingEnabled>"
               "<stunKeepaliveStartS>0</stunKeepaliveStartS><reconnectionIntervalS>1</reconnectionIntervalS>"
               "<setLowPriority>false</setLowPriority></options>\n")
               .arg(m_listenPort);
    return xml + QStringLiteral("</configuration>\n");
}

bool Syncthing::start()
{
    QFile config(m_home + QStringLiteral("/config.xml"));
    if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        config.write(configuration().toUtf8()) < 0) {
        m_problem = QStringLiteral("cannot write ") + config.fileName();
        return false;
    }
    config.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("STNOUPGRADE"), QStringLiteral("1"));
    environment.insert(QStringLiteral("STNODEFAULTFOLDER"), QStringLiteral("1"));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_home + QStringLiteral("/syncthing.log"));
    if (startService(m_process, programPath(),
                     {"serve", "--home=" + m_home, "--no-browser", "--no-restart", "--no-upgrade"},
                     [&] { return !request("GET", "/rest/system/ping").isNull(); }))
        return true;
    m_problem = "syncthing did not answer; see " + m_home + "/syncthing.log";
    return false;
}

bool Syncthing::connectedToAll()
{
    const QJsonObject connections = request("GET", QStringLiteral("/rest/system/connections"))
                                        .object()
                                        .value(QStringLiteral("connections"))
                                        .toObject();
    for (const Peer& peer : m_peers) {
        if (!connections.value(peer.deviceId).toObject().value(QStringLiteral("connected")).toBool())
            return false;
    }
    return true;
}

QJsonDocument Syncthing::request(const QByteArray& method, const QString& path)
{
    // The API answers only requests that name it by its loopback address.
    const std::optional<QByteArray> body =
        httpRequest(m_guiPort, method + ' ' + path.toUtf8() +
                                   " HTTP/1.0\r\nHost: 127.0.0.1:" + QByteArray::number(m_guiPort) +
                                   "\r\nX-API-Key: " + m_apiKey.toUtf8() + "\r\nContent-Length: 0\r\n\r\n");
    if (!body)
        return {};
    // Some answers are empty or plain text: any 200 counts as done.
    const QJsonDocument json = QJsonDocument::fromJson(*body);
    return json.isNull() ? QJsonDocument(QJsonObject()) : json;
}

} // namespace quindle::systemtest
