#pragma once

#include "system/support/LocalService.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>
#include <algorithm>
#include <vector>

namespace quindle::systemtest {

// One private Syncthing instance (Debian package "syncthing") with its own home folder and
// generated keys, reachable only on 127.0.0.1: global and local discovery, relays, NAT
// traversal, usage reporting and upgrades off, its peers at static tcp://127.0.0.1 addresses,
// file watching off so that folders are rescanned through the REST API when a test says so.
// Upgrades and the browser are left off by the command line.
class Syncthing
{
public:
    enum class FolderType { SendOnly, ReceiveOnly };

    Syncthing(const QString& home, const QString& name) : m_home(home), m_name(name)
    {
        QProcess generate;
        generate.setProcessChannelMode(QProcess::MergedChannels);
        generate.start(programPath(),
                       {"generate", "--home=" + home, "--no-default-folder", "--skip-port-probing"});
        generate.waitForFinished(60'000);
        const QString said = QString::fromUtf8(generate.readAll());
        m_deviceId = QRegularExpression(QStringLiteral("Device ID: (\\S+)")).match(said).captured(1);
        if (m_deviceId.isEmpty())
            m_problem = "syncthing generate said: " + said;
    }

    static QString programPath() { return QStandardPaths::findExecutable(QStringLiteral("syncthing")); }
    QString problem() const { return m_problem; }

    // Peers are added before the folders shared with them.
    void addPeer(const Syncthing& peer) { m_peers.push_back(&peer); }
    // peers: the names of the instances the folder is shared with.
    void addFolder(const QString& id, const QString& path, FolderType type, const QStringList& peers)
    {
        // A folder without its marker is taken for an unmounted disk and never synchronised.
        QDir().mkpath(path + QStringLiteral("/.stfolder"));
        m_folders +=
            QStringLiteral("<folder id=\"%1\" label=\"%1\" path=\"%2\" type=\"%3\" "
                           "rescanIntervalS=\"3600\" fsWatcherEnabled=\"false\" ignorePerms=\"false\" "
                           "autoNormalize=\"true\"><device id=\"%4\"></device>")
                .arg(id, path.toHtmlEscaped(),
                     QString(type == FolderType::SendOnly ? "sendonly" : "receiveonly"), m_deviceId);
        for (const Syncthing* peer : m_peers) {
            if (peers.contains(peer->m_name))
                m_folders += QStringLiteral("<device id=\"%1\"></device>").arg(peer->m_deviceId);
        }
        m_folders += QStringLiteral("</folder>\n");
    }

    // Writes the configuration, starts the instance and waits until its REST API answers.
    bool start()
    {
        QFile config(m_home + QStringLiteral("/config.xml"));
        if (!config.open(QIODevice::WriteOnly) || config.write(configuration().toUtf8()) < 0) {
            m_problem = "cannot write " + config.fileName();
            return false;
        }
        config.close();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_home + QStringLiteral("/syncthing.log"));
        if (startService(m_process, programPath(),
                         {"serve", "--home=" + m_home, "--no-browser", "--no-restart", "--no-upgrade"},
                         [&] { return !request("GET", "/rest/system/ping").isNull(); }))
            return true;
        m_problem = "syncthing did not answer; see " + m_home + "/syncthing.log";
        return false;
    }
    // True once every peer is connected.
    bool connectedToAll()
    {
        const QJsonValue connections = request("GET", "/rest/system/connections")["connections"];
        return std::ranges::all_of(m_peers, [&](const Syncthing* peer) {
            return connections[peer->m_deviceId]["connected"].toBool();
        });
    }
    bool rescan(const QString& id) { return !request("POST", "/rest/db/scan?folder=" + id).isNull(); }
    // Puts a receive-only folder back as its peers have it, undoing local changes.
    bool revert(const QString& id) { return !request("POST", "/rest/db/revert?folder=" + id).isNull(); }

private:
    QString configuration() const
    {
        QString xml = "<configuration version=\"36\">\n" + m_folders +
                      QStringLiteral("<device id=\"%1\" name=\"%2\"><address>dynamic</address></device>\n")
                          .arg(m_deviceId, m_name);
        for (const Syncthing* peer : m_peers)
            xml += QStringLiteral(
                       "<device id=\"%1\" name=\"%2\"><address>tcp://127.0.0.1:%3</address></device>\n")
                       .arg(peer->m_deviceId, peer->m_name)
                       .arg(peer->m_listenPort);
        return xml +
               QStringLiteral(
                   "<gui enabled=\"true\" tls=\"false\"><address>127.0.0.1:%1</address><apikey>%2</apikey>"
                   "</gui>\n<options><listenAddress>tcp://127.0.0.1:%3</listenAddress>"
                   "<globalAnnounceEnabled>false</globalAnnounceEnabled>"
                   "<localAnnounceEnabled>false</localAnnounceEnabled>"
                   "<relaysEnabled>false</relaysEnabled><natEnabled>false</natEnabled>"
                   "<urAccepted>-1</urAccepted>"
                   "<crashReportingEnabled>false</crashReportingEnabled>"
                   "<stunKeepaliveStartS>0</stunKeepaliveStartS><reconnectionIntervalS>1</"
                   "reconnectionIntervalS>"
                   "<setLowPriority>false</setLowPriority></options>\n</configuration>\n")
                   .arg(m_guiPort)
                   .arg(m_apiKey)
                   .arg(m_listenPort);
    }

    // Any 200 answer counts as done; some are empty or plain text, taken as an empty object.
    QJsonDocument request(const QByteArray& method, const QString& path)
    {
        // The API answers only requests that name it by its loopback address.
        const std::optional<QByteArray> body =
            httpRequest(m_guiPort, method + ' ' + path.toUtf8() + " HTTP/1.0\r\nHost: 127.0.0.1:" +
                                       QByteArray::number(m_guiPort) + "\r\nX-API-Key: " + m_apiKey.toUtf8() +
                                       "\r\nContent-Length: 0\r\n\r\n");
        if (!body)
            return {};
        const QJsonDocument json = QJsonDocument::fromJson(*body);
        return json.isNull() ? QJsonDocument(QJsonObject()) : json;
    }

    QString m_home;
    QString m_name;
    QString m_deviceId;
    QString m_apiKey = QUuid::createUuid().toString(QUuid::Id128);
    quint16 m_listenPort = freePort();
    quint16 m_guiPort = freePort();
    std::vector<const Syncthing*> m_peers;
    QString m_folders; // the configuration's folder elements
    QProcess m_process;
    QString m_problem;
};

} // namespace quindle::systemtest
