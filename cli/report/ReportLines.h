#pragma once

#include "core/SweepReport.h"
#include "jobs/Messages.h"
#include "patch/PatchInstaller.h"

#include <optional>
#include <string>
#include <vector>

namespace kitloom {
struct RemoveResult;
}

namespace kitloom::cli {

// kitloom-cli's own words on a job, line by line, beside the system's messages: a front end
// that reports as a terminal does shows each as its tone says.
enum class Tone {
    Line,     // on the output stream, as it stands
    Error,    // "ERROR: " on the error stream
    Success,  // "SUCCESS: " on the output stream
    Note,     // "note: " on the error stream
    Hint,     // "hint: " on the error stream
    Listed,   // "  " on the error stream, under an ERROR or a hint
};

struct ReportLine {
    Tone tone;
    std::string text;
    // A job's closing words that send the reader to the lines before them for the reason; a
    // notification, which shows those lines itself, leaves them out.
    bool closing = false;
    bool operator==(const ReportLine&) const = default;
};
using ReportLines = std::vector<ReportLine>;

// What a line of the tone starts with when printed ("ERROR: ", "hint: ", "  ", ...).
const char* tonePrefix(Tone tone);

// A table of an add or an install: an unfinished record cut first, then the record added,
// the one already there, or the table's failure.
ReportLines appendLines(const TableReport& table, bool dryRun);
// A table of a remove: what went, and each matching jersey that stays.
ReportLines removalLines(const TableReport& table, bool dryRun);
// A table that could not be read, for a listing.
ReportLines readLines(const TableReport& table);
// What became of one of a patch's images: none for one taken back with its patch.
ReportLines imageLines(const ImageMove& move, bool dryRun);
// A patch that could not be read: the system's messages, each naming the patch file at `path`
// and the system's words, when it said why.
ReportLines unreadPatchLines(const std::vector<SystemMessage>& messages, const std::string& path,
                             const std::string& reason);
// An install whose jersey had no table to go to, so nothing moved.
ReportLine missingTableLine(const PatchInstallReport& install, const std::string& gameFolder);
// The numbered save folders a sweep never reached because an earlier one is missing.
ReportLines unvisitedLines(const SweepReport& job);
// An install's closing words, but none that its one table's line already said. After an
// ERROR line it never closes with SUCCESS: it says what was done, as an ERROR.
ReportLines installClosing(const SweepReport& job, bool dryRun, bool imagesInPlace = true);
// A remove's closing words.
ReportLines removeClosing(const RemoveResult& result, bool dryRun);
// When a matching jersey stayed behind others: how to take it out all the same.
ReportLines behindOthersHint(const RemoveResult& result);
// After a stop: which table was the last.
ReportLine stopLine(const std::string& signalName, const std::string& lastTable);
// For a Save Slot that looks like a numbered save written short ("1"), once its table was
// not found: that numbered save folders have three digits (`numbered`, "001").
ReportLines slotHint(const std::optional<std::string>& numbered);

}  // namespace kitloom::cli
