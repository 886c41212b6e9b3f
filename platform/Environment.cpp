#include "platform/Environment.h"

#include <cstdlib>

namespace kitloom {

std::optional<std::string> environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    if (!value)
        return std::nullopt;
    return std::string(value);
}

}  // namespace kitloom
