#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <memory>
#include <optional>

#include "platform/NativePath.h"
#include "platform/Profile.h"

namespace tempolatch {

namespace {

// The message: this tag, then the arguments as the system spelled them
// (UTF-8, or the bytes of a file name that is not), each ended by a zero.
const QByteArray kTag = QByteArrayLiteral("tempolatch-start-1\n");
constexpr int kTimeoutMs = 2000;
// A command line is short; anything longer is not one of ours.
constexpr qint64 kMaxMessageBytes = 64 * 1024;

QString userName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}

QByteArray encode(const QStringList& args) {
    QByteArray bytes = kTag;
    for (const QString& arg : args)
        bytes += platform::nativePath(arg) + '\0';
    return bytes;
}

std::optional<QStringList> decode(const QByteArray& bytes) {
    if (bytes.size() > kMaxMessageBytes || !bytes.startsWith(kTag))
        return std::nullopt;
    QStringList args;
    const QByteArray rest = bytes.mid(kTag.size());
    for (const QByteArray& part : rest.split('\0'))
        args.append(platform::pathFromNative(part));
    args.removeLast();  // after the last terminator
    return args;
}

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& profileFolder) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(userName().toUtf8());
    hash.addData(QByteArrayView("\n", 1));
    hash.addData(QDir::cleanPath(profileFolder).toUtf8());
    return QStringLiteral("tempolatch-") + QString::fromLatin1(hash.result().toHex().left(24));
}

bool SingleInstance::isListening() const {
    return m_server && m_server->isListening();
}

SingleInstance::Start SingleInstance::start(const QStringList& args) {
    const QString name = serverName(platform::Profile::folder());
    // Two starts at the same moment must not both become the first.
    QLockFile lock(QDir::temp().filePath(name + QStringLiteral(".lock")));
    lock.setStaleLockTime(10000);
    const bool locked = lock.tryLock(kTimeoutMs);
    if (handOver(name, args))
        return Start::HandedOver;
    if (locked)
        listen(name);
    return Start::First;
}

bool SingleInstance::handOver(const QString& name, const QStringList& args) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    socket.write(encode(args));
    socket.flush();
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kTimeoutMs)) {
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kTimeoutMs);
    return true;
}

bool SingleInstance::listen(const QString& name) {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    if (m_server->listen(name))
        return true;
    // Nobody answered a moment ago, so a socket left behind is from a
    // program that ended without cleaning up.
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
            buffer->append(socket->readAll());
            if (buffer->size() > kMaxMessageBytes)
                socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            if (buffer->size() <= kMaxMessageBytes)
                buffer->append(socket->readAll());
            socket->deleteLater();
            if (const auto args = decode(*buffer))
                Q_EMIT activationRequested(*args);
        });
    }
}

}  // namespace tempolatch
