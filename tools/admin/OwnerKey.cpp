#include "tools/admin/OwnerKey.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quindle::admin {

namespace {

constexpr qsizetype rawKeySize = 32;
constexpr qsizetype signatureSize = 64;

EVP_PKEY* keyOf(const std::shared_ptr<void>& key)
{
    return static_cast<EVP_PKEY*>(key.get());
}

std::shared_ptr<void> holdKey(EVP_PKEY* key)
{
    return std::shared_ptr<void>(key, [](void* k) { EVP_PKEY_free(static_cast<EVP_PKEY*>(k)); });
}

// Creates the file for the owner alone before anything is written into it.
bool writeNewFile(const QString& path, const QByteArray& bytes, mode_t mode)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) == bytes.size();
    return ::close(fd) == 0 && written;
}

} // namespace

QString OwnerKey::generate(const QString& folder)
{
    const QString keyPath = joinPath(folder, QStringLiteral("owner.key"));
    const QString publicPath = joinPath(folder, QStringLiteral("owner.pub"));
    if (QFile::exists(keyPath) || QFile::exists(publicPath))
        return QStringLiteral("%1 holds a key already; it is never overwritten").arg(folder);
    EVP_PKEY* raw = nullptr;
    EVP_PKEY_CTX* context = EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr);
    const bool made = context && EVP_PKEY_keygen_init(context) == 1 && EVP_PKEY_keygen(context, &raw) == 1;
    EVP_PKEY_CTX_free(context);
    if (!made)
        return QStringLiteral("the key pair could not be made");
    OwnerKey key;
    key.m_key = holdKey(raw);

    BIO* pem = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(pem, raw, nullptr, nullptr, 0, nullptr, nullptr);
    char* data = nullptr;
    const long length = BIO_get_mem_data(pem, &data);
    const QByteArray pemBytes(data, static_cast<qsizetype>(length));
    BIO_free(pem);
    if (pemBytes.isEmpty() || !writeNewFile(keyPath, pemBytes, 0600))
        return QStringLiteral("cannot write %1").arg(keyPath);
    if (!writeNewFile(publicPath, (publicKeyLine(key.publicKey()) + QLatin1Char('\n')).toUtf8(), 0644))
        return QStringLiteral("cannot write %1").arg(publicPath);
    return {};
}

std::optional<OwnerKey> OwnerKey::load(const QString& keyFile, QString& error)
{
    QFile file(keyFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the key %1").arg(keyFile);
        return std::nullopt;
    }
    const QByteArray pemBytes = file.read(64 * 1024);
    BIO* pem = BIO_new_mem_buf(pemBytes.constData(), static_cast<int>(pemBytes.size()));
    EVP_PKEY* raw = PEM_read_bio_PrivateKey(pem, nullptr, nullptr, nullptr);
    BIO_free(pem);
    if (!raw || EVP_PKEY_get_id(raw) != EVP_PKEY_ED25519) {
        EVP_PKEY_free(raw);
        error = QStringLiteral("%1 is not an Ed25519 private key").arg(keyFile);
        return std::nullopt;
    }
    OwnerKey key;
    key.m_key = holdKey(raw);
    return key;
}

QByteArray OwnerKey::publicKey() const
{
    QByteArray bytes(rawKeySize, '\0');
    size_t length = static_cast<size_t>(bytes.size());
    if (EVP_PKEY_get_raw_public_key(keyOf(m_key), reinterpret_cast<unsigned char*>(bytes.data()), &length) !=
        1)
        return {};
    return bytes;
}

QByteArray OwnerKey::sign(QByteArrayView message) const
{
    QByteArray signature(signatureSize, '\0');
    size_t length = static_cast<size_t>(signature.size());
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    const bool signedIt = context &&
                          EVP_DigestSignInit(context, nullptr, nullptr, nullptr, keyOf(m_key)) == 1 &&
                          EVP_DigestSign(context, reinterpret_cast<unsigned char*>(signature.data()), &length,
                                         reinterpret_cast<const unsigned char*>(message.data()),
                                         static_cast<size_t>(message.size())) == 1;
    EVP_MD_CTX_free(context);
    return signedIt ? signature : QByteArray();
}

bool verifySignature(const QByteArray& publicKey, QByteArrayView message, const QByteArray& signature)
{
    if (publicKey.size() != rawKeySize || signature.size() != signatureSize)
        return false;
    EVP_PKEY* key = EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr,
                                                reinterpret_cast<const unsigned char*>(publicKey.constData()),
                                                static_cast<size_t>(publicKey.size()));
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    const bool valid =
        key && context && EVP_DigestVerifyInit(context, nullptr, nullptr, nullptr, key) == 1 &&
        EVP_DigestVerify(context, reinterpret_cast<const unsigned char*>(signature.constData()),
                         static_cast<size_t>(signature.size()),
                         reinterpret_cast<const unsigned char*>(message.data()),
                         static_cast<size_t>(message.size())) == 1;
    EVP_MD_CTX_free(context);
    EVP_PKEY_free(key);
    return valid;
}

QString publicKeyLine(const QByteArray& publicKey)
{
    return QStringLiteral("ed25519 ") + QString::fromLatin1(publicKey.toBase64());
}

std::optional<QByteArray> readPublicKeyLine(const QString& line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '));
    if (words.size() < 2 || words.at(0) != QLatin1String("ed25519"))
        return std::nullopt;
    const auto decoded =
        QByteArray::fromBase64Encoding(words.at(1).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != rawKeySize)
        return std::nullopt;
    return decoded.decoded;
}

std::optional<std::vector<QByteArray>> readTrustFile(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the trust file %1").arg(path);
        return std::nullopt;
    }
    std::vector<QByteArray> keys;
    for (const QByteArray& line : file.read(1024 * 1024).split('\n')) {
        if (const std::optional<QByteArray> key = readPublicKeyLine(QString::fromUtf8(line)))
            keys.push_back(*key);
    }
    return keys;
}

} // namespace quindle::admin
