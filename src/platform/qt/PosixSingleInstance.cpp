#include "platform/qt/PosixSingleInstance.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int channelTimeoutMs = 2000;

std::string lockPath(const std::string& dir) {
    return dir + "/TarveskMutex.lock";
}
QString socketPath(const std::string& dir) {
    return QString::fromStdString(dir + "/TarveskMutex.socket");
}

bool isActivation(const QByteArray& bytes) {
    if (bytes.contains(QByteArray::number(activationMessage)))
        return true;
    if (bytes.size() < 4)
        return false;
    std::int32_t number = 0; // the same number as a little-endian 32-bit integer
    std::memcpy(&number, bytes.constData(), sizeof number);
    return number == activationMessage;
}

} // namespace

PosixSingleInstance::PosixSingleInstance(std::string directory, QObject* parent)
    : QObject(parent), m_directory(std::move(directory)) {}

PosixSingleInstance::~PosixSingleInstance() {
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

std::string PosixSingleInstance::runtimeDirectory(const char* xdgRuntimeDir, const std::string& tmpRoot) {
    struct stat st {};
    if (xdgRuntimeDir && xdgRuntimeDir[0] == '/' && ::stat(xdgRuntimeDir, &st) == 0 && S_ISDIR(st.st_mode))
        return xdgRuntimeDir;
    const uid_t uid = ::getuid();
    const std::string dir = tmpRoot + "/tarvesk-" + std::to_string(uid);
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid || (st.st_mode & 07777) != 0700)
        return {};
    return dir;
}

std::string PosixSingleInstance::defaultDirectory() {
    return runtimeDirectory(std::getenv("XDG_RUNTIME_DIR"), "/tmp");
}

bool PosixSingleInstance::acquire() {
    if (m_lockFd >= 0)
        return true;
    if (m_directory.empty())
        m_directory = defaultDirectory();
    if (m_directory.empty())
        return true;
    const int fd = ::open(lockPath(m_directory).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    m_lockFd = fd;
    // The lock is ours, so a socket file left there belongs to a dead instance.
    const QString path = socketPath(m_directory);
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &PosixSingleInstance::acceptConnections);
    m_server->listen(path);
    return true;
}

void PosixSingleInstance::notifyFirst() {
    if (m_directory.empty())
        m_directory = defaultDirectory();
    if (m_directory.empty())
        return;
    QLocalSocket socket;
    socket.connectToServer(socketPath(m_directory));
    if (!socket.waitForConnected(channelTimeoutMs))
        return;
    socket.write(QByteArray::number(activationMessage));
    socket.waitForBytesWritten(channelTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(channelTimeoutMs);
}

void PosixSingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readMessage(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            readMessage(socket);
    }
}

// Collects what the socket sent; the activation fires once per connection.
void PosixSingleInstance::readMessage(QLocalSocket* socket) {
    QByteArray received = socket->property("received").toByteArray() + socket->readAll();
    if (socket->property("activated").toBool())
        return;
    socket->setProperty("received", received);
    if (!isActivation(received))
        return;
    socket->setProperty("activated", true);
    emit activationRequested();
    if (m_handler)
        m_handler();
}

} // namespace platform
