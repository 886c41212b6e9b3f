#include "platform/Environment.h"

namespace kitloom {

// The console shows the report; Windows has no notification tool to hand it to.
bool showDesktopNotification(const std::string&, const std::string&) { return false; }

}  // namespace kitloom
