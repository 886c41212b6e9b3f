#pragma once

#include <string>

namespace kitloom {

// The operating system's words for why the last call failed ("No space left on device"),
// without a closing period or line break; empty when it gave no reason.
std::string lastSystemError();
// The system's words for a full disk, for file systems that fail on purpose.
std::string diskFullReason();
// The system's words for a path too long for it, for systems that say another thing.
std::string nameTooLongReason();

}  // namespace kitloom
