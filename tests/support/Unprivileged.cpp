#include "support/Unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

bool asUnprivilegedUser(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        if (::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void openToEverybody(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    fs::permissions(dir, fs::perms::all);
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_directory())
            fs::permissions(entry.path(), fs::perms::all);
}

} // namespace testsupport
