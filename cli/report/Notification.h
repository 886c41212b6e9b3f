#pragma once

#include "cli/report/ReportLines.h"
#include "core/SweepReport.h"

#include <string>
#include <vector>

namespace kitloom::cli {

// A notification's text: its summary line and its body.
struct Notification {
    std::string summary;
    std::string body;
};

// What an install's notification says. On success: the jerseys, and the saves they were
// added to or were already in. On failure: the ERROR and hint lines the install said, with
// the lines listed under them, as many as a notification shows, each cut to fit.
Notification installNotification(bool succeeded, const std::vector<std::string>& jerseys,
                                 const std::vector<TableReport>& tables, const ReportLines& said);

}  // namespace kitloom::cli
