#pragma once
#include <filesystem>
#include <string>

namespace testsupport {

// A fresh directory under the system temporary directory, removed with its content at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Whole content of a file as bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
// Replaces a file with the given bytes.
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// Folder of the fixtures written by other programs (shared with the other repositories).
std::filesystem::path sharedFixture(const std::string& relative);
// Folder of this project's own small fixtures (tests/fixtures).
std::filesystem::path testFixture(const std::string& relative);

} // namespace testsupport
