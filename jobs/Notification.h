#pragma once

#include "core/JobReport.h"

#include <string>
#include <vector>

namespace kitloom {

// A notification's text: its summary line and its body.
struct Notification {
    std::string summary;
    std::string body;
};

// What an install's notification says. On success: the jerseys, and the saves they were
// added to or were already in. On failure: the ERROR and hint lines of `lines` (everything
// the install printed), as many as a notification shows, each cut to fit.
Notification installNotification(bool succeeded, const std::vector<std::string>& jerseys,
                                 const std::vector<TableReport>& tables, const std::vector<std::string>& lines);

}  // namespace kitloom
