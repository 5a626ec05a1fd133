#pragma once
#include "platform/SingleInstance.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace platform {

// Single instance on Linux: an exclusive lock (flock) on "TarveskMutex.lock" in the per-user
// runtime directory stands for the named mutex; the system drops it when the process ends, so a
// crashed instance never blocks the next start. The first instance listens on the local socket
// "TarveskMutex.socket" beside it; a second start posts the activation message there.
class PosixSingleInstance : public QObject, public SingleInstance {
    Q_OBJECT
public:
    // directory: where the lock file and socket live; empty: defaultDirectory().
    explicit PosixSingleInstance(std::string directory = {}, QObject* parent = nullptr);
    ~PosixSingleInstance() override;

    bool acquire() override;
    void notifyFirst() override;
    void setActivationHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    // $XDG_RUNTIME_DIR when it is an absolute directory, else <tmpRoot>/tarvesk-<uid>, made with
    // mode 0700; empty when that directory is not ours (another owner, other permissions, not a
    // directory), since a lock or socket there could be planted by someone else.
    static std::string runtimeDirectory(const char* xdgRuntimeDir, const std::string& tmpRoot);
    static std::string defaultDirectory();

signals:
    void activationRequested();

private:
    void acceptConnections();
    void readMessage(QLocalSocket* socket);

    std::string m_directory;
    int m_lockFd = -1;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_handler;
};

} // namespace platform
