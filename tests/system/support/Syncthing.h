#pragma once

#include "system/support/LocalService.h"

#include <QJsonDocument>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <vector>

namespace quindle::systemtest {

// One private Syncthing instance (Debian package "syncthing") with its own home folder and
// generated keys, reachable only on 127.0.0.1: global and local discovery, relays, NAT
// traversal, usage reporting and upgrades off, its peers at static tcp://127.0.0.1 addresses,
// file watching off so that folders are rescanned through the REST API when a test says so.
class Syncthing
{
public:
    enum class FolderType { SendOnly, ReceiveOnly };

    Syncthing(const QString& home, const QString& name);

    static QString programPath() { return QStandardPaths::findExecutable(QStringLiteral("syncthing")); }
    QString problem() const { return m_problem; }

    void addPeer(const Syncthing& peer)
    {
        m_peers.push_back({peer.m_name, peer.m_deviceId, peer.m_listenPort});
    }
    // peers: the names of the instances the folder is shared with.
    void addFolder(const QString& id, const QString& path, FolderType type, const QStringList& peers);

    // Writes the configuration, starts the instance and waits until its REST API answers.
    bool start();
    // True once every peer is connected.
    bool connectedToAll();
    bool rescan(const QString& folderId)
    {
        return !request("POST", "/rest/db/scan?folder=" + folderId).isNull();
    }
    // Puts a receive-only folder back as its peers have it, undoing local changes.
    bool revert(const QString& folderId)
    {
        return !request("POST", "/rest/db/revert?folder=" + folderId).isNull();
    }

private:
    struct Peer
    {
        QString name;
        QString deviceId;
        quint16 port = 0;
    };
    struct Folder
    {
        QString id;
        QString path;
        FolderType type;
        QStringList peers;
    };
    QJsonDocument request(const QByteArray& method, const QString& path);
    QString configuration() const;

    QString m_home;
    QString m_name;
    QString m_deviceId;
    QString m_apiKey;
    quint16 m_listenPort = freePort();
    quint16 m_guiPort = freePort();
    std::vector<Peer> m_peers;
    std::vector<Folder> m_folders;
    QProcess m_process;
    QString m_problem;
};

} // namespace quindle::systemtest
