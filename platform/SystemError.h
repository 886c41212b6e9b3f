#pragma once

#include <string>

namespace kitloom {

// The operating system's words for why the last call failed ("No space left on device"),
// without a closing period or line break; empty when it gave no reason.
std::string lastSystemError();
// Forgets the last failure, so that a call that fails without a reason of its own is not
// given an older one.
void clearSystemError();
// Leaves the error a full disk gives, as a file system that fails on purpose must.
void setDiskFullError();

// Runs `call`, which tells success with true; on failure `reason` receives the system's
// words for that very call.
template <typename Call>
bool succeeds(std::string& reason, Call&& call)
{
    clearSystemError();
    if (call())
        return true;
    reason = lastSystemError();
    return false;
}

}  // namespace kitloom
