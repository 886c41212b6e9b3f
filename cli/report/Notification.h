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

// What became of one patch of an install, as a notification tells it.
enum class PatchOutcome {
    Installed,      // the jersey went into saves, its images into the art folder
    AlreadyThere,   // every save held the jersey already
    WithoutImages,  // the jersey is in saves, but its images are not all in the art folder
    NotInstalled,
};

struct NotifiedPatch {
    std::string name;  // the jersey ("WXYZ 1998-99"), or the patch's file when it was not read
    PatchOutcome outcome = PatchOutcome::NotInstalled;
    std::vector<TableReport> tables;
    ReportLines said;  // every line the install said of it
};

// The texts a notification shortens in the middle: the home folder becomes ~, and each of
// `folders` (the game's, the art folder) keeps its first and last names.
struct LongPaths {
    std::string home;
    std::vector<std::string> folders;
};

// What an install's notification says: its summary tells what happened; its body, for one
// patch, the saves the jersey went into or the reason it did not, in the words of the ERROR
// lines said (never cut; paths shortened instead), and for several, a line for each. `after`
// holds what was said after the last patch (of the download as a whole). `couldNotAsk`: the
// game was not found, or several were, and there was no way to ask which.
Notification installNotification(const std::vector<NotifiedPatch>& patches, const ReportLines& after,
                                 const LongPaths& paths, bool couldNotAsk);

// `folder` as a notification shows it: ~ for the home folder, and names from its middle left
// out when it is long.
std::string shortenedFolder(const std::string& folder, const std::string& home);

}  // namespace kitloom::cli
