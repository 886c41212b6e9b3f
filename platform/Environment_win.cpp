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

// The console shows the report; Windows has no notification tool to hand it to.
bool showDesktopNotification(const std::string&, const std::string&) { return false; }

}  // namespace kitloom
