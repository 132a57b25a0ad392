#include "ui/app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace qv::ui {

namespace {

constexpr const char* kName = "QuorvaneV9Mutex";
constexpr int kWaitMs = 3000;
const QByteArray kShow = "show\n";
const QByteArray kShown = "shown\n";

} // namespace

SingleInstance::SingleInstance(const QString& directory)
    : lockPath_(QDir(directory).filePath(QString::fromLatin1(kName) + ".lock")),
      socketPath_(QDir(directory).filePath(QString::fromLatin1(kName))), lock_(lockPath_)
{
    lock_.setStaleLockTime(0); // a lock is stale only when its process is gone
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Answer);
}

QString SingleInstance::DefaultDirectory()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

SingleInstance::Start SingleInstance::Claim()
{
    if (lock_.tryLock(0)) {
        // A socket left by a program that ended without closing it names nobody any more.
        QLocalServer::removeServer(socketPath_);
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        server_.listen(socketPath_);
        return Start::First;
    }
    if (lock_.error() != QLockFile::LockFailedError)
        return Start::NoLock;
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kWaitMs))
        return Start::Unreachable;
    socket.write(kShow);
    if (!socket.waitForBytesWritten(kWaitMs))
        return Start::Unreachable;
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(kWaitMs))
        reply += socket.readAll();
    return reply == kShown ? Start::HandedOver : Start::Unreachable;
}

void SingleInstance::Answer()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // A request is one short line; anything longer is no program of ours.
            if (socket->bytesAvailable() > kShow.size()) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kShow) {
                emit activationRequested();
                socket->write(kShown);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

} // namespace qv::ui
