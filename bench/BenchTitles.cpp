// 1C:Enterprise's list of infobases (the Titles key) at scale: a hive file with n Titles entries
// and table folder with n infobases, half of them registered in the Titles key. Prints, for n =
// 1,000 and 10,000, the time of reading the key (the hive file parsed afresh), of the unaccounted
// list, and of the registry window opening and refreshing ("Обновить"), as wall and CPU time.
//
//   bench_titles [--dir DIR] [n ...]
#include "data/DMU.h"
#include "platform/posix/HiveEscapes.h"
#include "platform/posix/WineRegistry.h"
#include "registry/DataSetFolderStore.h"
#include "registry/Reestr.h"
#include "registry/ReestrUi.h"
#include "registry/TitlesSync.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Times {
    double wallMs = 0;
    double cpuMs = 0;
};

Times timed(const std::function<void()>& work) {
    const auto wall = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    work();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count(),
            1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
}

// Answers nothing: the benchmark asks no questions.
class SilentUi : public registry::ReestrUi {
public:
    std::optional<registry::KeyEditResult> editKey(QWidget*, const QString&, const QString&) override { return {}; }
    bool confirmDelete(QWidget*) override { return false; }
    QString exportFileName(QWidget*) override { return {}; }
    QString importFileName(QWidget*) override { return {}; }
    std::unique_ptr<registry::KeyExistsAsker> keyExistsAsker(QWidget*) override { return nullptr; }
    void reportError(QWidget*, const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

std::string directoryOf(int i) {
    return "C:\\Базы\\Филиал " + std::to_string(i / 100) + "\\Торговля " + std::to_string(i) + "\\";
}

void run(const fs::path& root, int n) {
    const fs::path prefix = root / ("prefix-" + std::to_string(n));
    const fs::path tables = root / ("tables-" + std::to_string(n));
    fs::create_directories(prefix);
    fs::create_directories(tables);
    {
        std::ofstream hive(prefix / "user.reg", std::ios::binary);
        hive << "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win32\n\n"
             << "[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles] 1700000000\n#time=1da1747c66d0000\n";
        for (int i = 0; i < n; ++i)
            hive << "\"" << platform::escapeHiveString(directoryOf(i), "\"") << "\"=\""
                 << platform::escapeHiveString("Торговля " + std::to_string(i), "\"") << "\"\n";
    }
    platform::WineRegistry unused((prefix / "none").string());
    data::TDM dm(tables.string(), unused);
    dm.DataModuleCreate();
    for (int i = 0; i < n; i += 2) {
        dm.dbfFolder.insert();
        dm.dbfFolder.setFieldText("NAME", "Торговля " + std::to_string(i));
        dm.dbfFolder.setFieldText("PATH", directoryOf(i));
        dm.dbfFolder.post();
    }
    registry::DataSetFolderStore store(dm.dbfSeek, dm.dbfFolder);

    std::vector<registry::TitleEntry> entries;
    const Times read = timed([&] {
        platform::WineRegistry registry(prefix.string());
        entries = registry::readTitles(registry);
    });
    std::vector<std::string> unaccounted;
    const Times list = timed([&] { unaccounted = registry::unaccountedLines(entries, store); });

    platform::WineRegistry registry(prefix.string());
    SilentUi ui;
    std::unique_ptr<registry::TfrmReestr> window;
    const Times open = timed([&] {
        window = std::make_unique<registry::TfrmReestr>(nullptr, registry, store, ui);
        window->show(); // shows the Titles key as it is now
        QApplication::processEvents();
    });
    const Times refresh = timed([&] {
        window->RefreshTitles();
        QApplication::processEvents();
    });
    std::printf("%6d values: read %7.1f ms (cpu %7.1f)  unaccounted list %6.1f ms (cpu %6.1f, %zu entries)  "
                "window open %7.1f ms (cpu %7.1f)  refresh %7.1f ms (cpu %7.1f)\n",
                n, read.wallMs, read.cpuMs, list.wallMs, list.cpuMs, unaccounted.size(), open.wallMs, open.cpuMs,
                refresh.wallMs, refresh.cpuMs);
    window.reset();
    dm.DataModuleDestroy();
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    fs::path root = fs::temp_directory_path() / ("bench-titles-" + std::to_string(getpid()));
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--dir" && i + 1 < argc)
            root = argv[++i];
        else
            sizes.push_back(std::stoi(argv[i]));
    }
    if (sizes.empty())
        sizes = {1000, 10000};
    fs::create_directories(root);
    for (int n : sizes)
        run(root, n);
    fs::remove_all(root);
    return 0;
}
