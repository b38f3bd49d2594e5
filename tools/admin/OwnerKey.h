#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace quindle::admin {

// The publisher's Ed25519 key pair. The private key stays on the owner's machine
// ("owner.key", PEM, readable by its owner only); the public key travels as one line,
// "ed25519 BASE64", which kiosks list in their trust file.
class OwnerKey
{
public:
    // Writes FOLDER/owner.key and FOLDER/owner.pub; an empty text when done, else what failed.
    // An existing key is never overwritten: a lost key would orphan every kiosk that trusts it.
    static QString generate(const QString& folder);

    // Reads a private key written by generate(); nothing, with error set, when it cannot.
    static std::optional<OwnerKey> load(const QString& keyFile, QString& error);

    QByteArray publicKey() const; // the 32 raw bytes
    QByteArray sign(QByteArrayView message) const;

private:
    std::shared_ptr<void> m_key; // an EVP_PKEY
};

bool verifySignature(const QByteArray& publicKey, QByteArrayView message, const QByteArray& signature);

// "ed25519 BASE64" and back; a line of another form gives nothing.
QString publicKeyLine(const QByteArray& publicKey);
std::optional<QByteArray> readPublicKeyLine(const QString& line);

// The public keys of a trust file: one key line each, "#" lines and blank lines ignored.
// Nothing, with error set, when the file cannot be read.
std::optional<std::vector<QByteArray>> readTrustFile(const QString& path, QString& error);

} // namespace quindle::admin
