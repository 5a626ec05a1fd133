#include "app/entry/HintTiming.h"
#include "app/entry/Program.h"
#include "app/entry/TarveskApplication.h"
#include "platform/posix/WineBridge.h"
#include "platform/qt/PosixSingleInstance.h"

#include <QDir>

#include <filesystem>

// The program's entry: one instance per user; a second start only brings the first to the front.
// No command line is read.
int main(int argc, char** argv) {
    app::TarveskApplication application(argc, argv);
    const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();
    const std::filesystem::path directory = executable.parent_path();

    platform::PosixSingleInstance instance;
    if (!instance.acquire()) {
        instance.notifyFirst();
        return 0;
    }

    // Tables, bar files and "Tarvesk.ini" are found beside the executable from here on.
    QDir::setCurrent(QString::fromStdString(directory.string()));
    app::installHintTiming(&application);

    app::Program program(application, executable, platform::WineBridge::defaultDirectory());
    instance.setActivationHandler([&program] { program.activate(); });
    program.create();
    program.show();
    return QApplication::exec();
}
