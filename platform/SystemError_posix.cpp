#include "platform/SystemError.h"

#include <cerrno>
#include <system_error>

namespace kitloom {

std::string lastSystemError()
{
    const int error = errno;
    return error == 0 ? std::string() : std::generic_category().message(error);
}

std::string diskFullReason() { return std::generic_category().message(ENOSPC); }

std::string nameTooLongReason() { return std::generic_category().message(ENAMETOOLONG); }

}  // namespace kitloom
