// A program that takes the single-instance marker like Tarvesk does, for tests with two real
// processes. Prints "first" and waits for an activation ("activated", exit 0), or prints "second"
// after notifying the first instance (exit 1). The directory comes from $XDG_RUNTIME_DIR.
#include "platform/qt/PosixSingleInstance.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::PosixSingleInstance instance;
    if (!instance.acquire()) {
        instance.notifyFirst();
        std::puts("second");
        return 1;
    }
    QObject::connect(&instance, &platform::PosixSingleInstance::activationRequested, &app, [&app] {
        std::puts("activated");
        std::fflush(stdout);
        app.exit(0);
    });
    QTimer::singleShot(120000, &app, [&app] { app.exit(2); }); // never outlive a failed test
    std::puts("first");
    std::fflush(stdout);
    return app.exec();
}
