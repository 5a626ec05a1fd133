#pragma once
#include "engine/Engine.h"
#include "engine/File.h"

#include <cstdint>
#include <memory>
#include <string>

namespace engine {

// Shared count of file operations of the fault-injecting files of one test: the operation whose
// number is failAt (1-based; 0 = never) fails, and every later one too when sticky.
struct FaultPlan {
    std::uint64_t operations = 0;
    std::uint64_t failAt = 0;
    bool sticky = false;
    bool onlyWrites = false; // count only write, truncate and flush
    bool tornWrites = false; // a failing write first writes half of its bytes
    bool failed() const { return failAt != 0 && operations >= failAt; }
    // Counts one operation on the named file; throws EngineError when it is the one to fail.
    void step(bool isWrite, const std::string& name);
};

// A renamer and a remover that count as operations of the plan, before the real ones run.
FileRenamer faultyRenamer(std::shared_ptr<FaultPlan> plan, FileRenamer inner);
FileRemover faultyRemover(std::shared_ptr<FaultPlan> plan, FileRemover inner);

// A File that forwards to another one and throws EngineError at the operation its plan names.
class FaultFile : public File {
public:
    FaultFile(std::unique_ptr<File> inner, std::shared_ptr<FaultPlan> plan);

    std::size_t read(std::uint64_t offset, void* buffer, std::size_t n) override;
    void write(std::uint64_t offset, const void* buffer, std::size_t n) override;
    std::uint64_t size() override;
    void truncate(std::uint64_t size) override;
    void flush() override;
    bool tryLock(std::uint64_t offset, std::uint64_t length, bool exclusive) override;
    void unlock(std::uint64_t offset, std::uint64_t length) override;
    std::string name() const override { return m_inner->name(); }

private:
    void step(bool isWrite) { m_plan->step(isWrite, name()); }

    std::unique_ptr<File> m_inner;
    std::shared_ptr<FaultPlan> m_plan;
};

} // namespace engine
