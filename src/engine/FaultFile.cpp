#include "engine/FaultFile.h"

#include "engine/EngineError.h"

namespace engine {

FaultFile::FaultFile(std::unique_ptr<File> inner, std::shared_ptr<FaultPlan> plan)
    : m_inner(std::move(inner)), m_plan(std::move(plan)) {}

void FaultPlan::step(bool isWrite, const std::string& name) {
    if (onlyWrites && !isWrite)
        return;
    ++operations;
    bool fail = sticky ? failed() : operations == failAt;
    if (fail)
        throw EngineError("File " + name + ": injected failure of operation " + std::to_string(operations));
}

FileRenamer faultyRenamer(std::shared_ptr<FaultPlan> plan, FileRenamer inner) {
    return [plan, inner = std::move(inner)](const std::string& from, const std::string& to) {
        plan->step(true, from);
        inner(from, to);
    };
}

FileRemover faultyRemover(std::shared_ptr<FaultPlan> plan, FileRemover inner) {
    return [plan, inner = std::move(inner)](const std::string& path) {
        plan->step(true, path);
        inner(path);
    };
}

std::size_t FaultFile::read(std::uint64_t offset, void* buffer, std::size_t n) {
    step(false);
    return m_inner->read(offset, buffer, n);
}

void FaultFile::write(std::uint64_t offset, const void* buffer, std::size_t n) {
    try {
        step(true);
    } catch (const EngineError&) {
        if (m_plan->tornWrites && n > 1)
            m_inner->write(offset, buffer, n / 2);
        throw;
    }
    m_inner->write(offset, buffer, n);
}

std::uint64_t FaultFile::size() {
    step(false);
    return m_inner->size();
}

void FaultFile::truncate(std::uint64_t size) {
    step(true);
    m_inner->truncate(size);
}

void FaultFile::flush() {
    step(true);
    m_inner->flush();
}

bool FaultFile::tryLock(std::uint64_t offset, std::uint64_t length, bool exclusive) {
    step(false);
    return m_inner->tryLock(offset, length, exclusive);
}

void FaultFile::unlock(std::uint64_t offset, std::uint64_t length) {
    // Releasing never fails, so a failed operation cannot leave a lock behind.
    m_inner->unlock(offset, length);
}

} // namespace engine
