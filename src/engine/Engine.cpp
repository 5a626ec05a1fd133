#include "engine/Engine.h"

#include "engine/Dbf.h"
#include "engine/EngineError.h"
#include "engine/EngineImpl.h"
#include "engine/PosixFile.h"

#include <cctype>
#include <filesystem>

namespace engine {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

Engine::Engine(std::string directory) : m_impl(std::make_unique<Impl>()) {
    m_impl->directory = directory.empty() ? std::string(".") : std::move(directory);
    m_impl->factory = &PosixFile::open;
    m_impl->renamer = &PosixFile::rename;
    m_impl->remover = &PosixFile::remove;
}

Engine::~Engine() = default;

const std::string& Engine::directory() const {
    return m_impl->directory;
}

Engine::Impl& Engine::impl() {
    return *m_impl;
}

std::string Engine::Impl::findFile(std::string_view alias, std::string_view extension) const {
    std::string wanted = lowered(alias) + std::string(extension);
    if (exists)
        return (std::filesystem::path(directory) / wanted).string();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
        std::string name = entry.path().filename().string();
        if (lowered(name) == wanted)
            return (std::filesystem::path(directory) / name).string();
    }
    return (std::filesystem::path(directory) / wanted).string();
}

bool Engine::Impl::fileExists(const std::string& path) const {
    if (exists)
        return exists(path);
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::shared_ptr<TableFile> Engine::Impl::acquire(std::string_view alias, const OpenOptions& options) {
    std::string tablePath = findFile(alias, ".dbf");
    if (!fileExists(tablePath))
        throw EngineError("Table " + tablePath + " does not exist");
    std::shared_ptr<TableFile> table = open[tablePath].lock();
    if (table) {
        if (options.exclusive || table->exclusive())
            throw EngineError("Table " + tablePath + " is in use and cannot be opened " +
                              (options.exclusive ? "exclusively" : "while it is open exclusively"));
        if (options.withIndex && !table->hasIndex() && !table->indexError().empty())
            throw EngineError(table->indexError());
        return table;
    }
    TableFile::Paths paths;
    paths.table = tablePath;
    paths.index = findFile(alias, ".cdx");
    paths.indexExists = fileExists(paths.index);
    table = std::make_shared<TableFile>(paths, TableFile::FileOperations{factory, renamer, remover}, options.exclusive,
                                        options.withIndex, retry);
    open[tablePath] = table;
    return table;
}

std::string Engine::tablePath(std::string_view alias) const {
    return m_impl->findFile(alias, ".dbf");
}

std::string Engine::indexPath(std::string_view alias) const {
    return m_impl->findFile(alias, ".cdx");
}

bool Engine::tableExists(std::string_view alias) const {
    return m_impl->fileExists(tablePath(alias));
}

bool Engine::indexExists(std::string_view alias) const {
    return m_impl->fileExists(indexPath(alias));
}

void Engine::createTable(std::string_view alias, const std::vector<FieldDef>& fields) {
    std::string path = tablePath(alias);
    if (m_impl->fileExists(path))
        throw EngineError("Table " + path + " exists already");
    Dbf::checkFields(fields);
    std::unique_ptr<File> file = m_impl->factory(path, true);
    Dbf::create(*file, fields, today());
    file->flush();
}

void Engine::setLockRetry(int attempts, std::chrono::milliseconds delay) {
    m_impl->retry = {attempts, delay};
}

void Engine::setFileFactory(FileFactory factory) {
    m_impl->factory = factory ? std::move(factory) : FileFactory(&PosixFile::open);
}

void Engine::setFileRenamer(FileRenamer renamer) {
    m_impl->renamer = renamer ? std::move(renamer) : FileRenamer(&PosixFile::rename);
}

void Engine::setFileRemover(FileRemover remover) {
    m_impl->remover = remover ? std::move(remover) : FileRemover(&PosixFile::remove);
}

} // namespace engine
