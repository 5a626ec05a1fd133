#pragma once
#include <filesystem>
#include <functional>

namespace testsupport {

// Runs check in a child process as a user without privileges: "nobody" when the test runs as root
// (permissions do not hold root back), else the user it runs as. True when the check held.
bool asUnprivilegedUser(const std::function<bool()>& check);
// Lets everybody into a test's directory and below it, so the unprivileged user can reach it.
void openToEverybody(const std::filesystem::path& dir);

} // namespace testsupport
