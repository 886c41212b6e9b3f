#pragma once

#include "tests/support/ForwardingFileSystem.h"

namespace kitloom::test {

enum class Fault {
    FailOne,      // the k-th operation fails as on a full disk, putting half its bytes on disk first
    FailFromOn,   // so does every operation from the k-th on
    CrashFromOn,  // from the k-th on nothing reaches the disk, yet every call succeeds, so
                  // no rollback runs: what a crash at that point leaves behind
};

// The system's files, except for the writes, flushes and truncations (counted from 1
// across all files opened through it) that the fault picks.
class FaultyFileSystem final : public ForwardingFileSystem {
public:
    explicit FaultyFileSystem(int firstFaultyOperation, Fault fault = Fault::FailOne)
        : firstFaulty_(firstFaultyOperation), fault_(fault)
    {
    }

    int operationsSeen() const { return operations_; }
    // Counts one operation; true when it is to be faulty.
    bool nextOperationIsFaulty()
    {
        ++operations_;
        return fault_ == Fault::FailOne ? operations_ == firstFaulty_ : operations_ >= firstFaulty_;
    }
    Fault fault() const { return fault_; }

    std::unique_ptr<OpenFile> openForUpdate(const std::string& path) override;

private:
    int firstFaulty_;
    Fault fault_;
    int operations_ = 0;
};

}  // namespace kitloom::test
