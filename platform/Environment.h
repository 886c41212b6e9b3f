#pragma once

#include <optional>
#include <string>

namespace kitloom {

// The value of environment variable `name`; none when it is not set.
std::optional<std::string> environmentValue(const char* name);

// Shows `summary` and `body` as a desktop notification, where the desktop has a way to;
// false when it could not be shown.
bool showDesktopNotification(const std::string& summary, const std::string& body);

}  // namespace kitloom
