#pragma once

#include "cli/Cli.h"
#include "jobs/JobStatus.h"
#include "jobs/Messages.h"
#include "cli/report/ReportLines.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kitloom {
class FileSystem;
}

namespace kitloom::cli {

// Every line of a job's report as its tone says, and every message a job shows as one line:
// "ERROR: text" on the error stream, "SUCCESS: text" on the output stream. A transcript, when
// given, keeps each line said with its tone.
class TerminalMessages : public Messages {
public:
    TerminalMessages(std::ostream& out, std::ostream& err, ReportLines* transcript = nullptr)
        : out_(out), err_(err), transcript_(transcript)
    {
    }

    void show(MessageKind kind, const std::string& text) override
    {
        say({kind == MessageKind::Error ? Tone::Error : Tone::Success, text});
    }
    int errorCount() const { return errors_; }

    void say(const ReportLine& line);
    void say(const ReportLines& lines)
    {
        for (const ReportLine& line : lines)
            say(line);
    }

private:
    std::ostream& out_;
    std::ostream& err_;
    ReportLines* transcript_;
    int errors_ = 0;
};

// The exit status of a job that ran to its end.
inline int exitStatus(JobStatus status) { return status == JobStatus::Succeeded ? kExitSuccess : kExitFailure; }

// What a command runs with.
struct CommandContext {
    std::ostream& out;
    std::ostream& err;
    FileSystem& fileSystem;
    std::string encoding;               // the terminal's; tables and patches hold code page 1252
    std::string command;                // for usage hints
    int& savesChanged;                  // tables a job changed so far, for a report that could not be printed
    ReportLines* transcript = nullptr;  // every line said, for a notification
    const std::vector<std::string>* args = nullptr;  // the command line, as the journal records it

    // Prints the one-line hint and gives the usage exit status.
    int usage(const std::string& problem) const;
    // Typed text as a table holds it, converted in place; the usage problem with `option` when
    // it holds a control character or one that code page 1252 lacks.
    std::optional<std::string> toTableText(std::string& text, const std::string& option) const;
    // Code page 1252 bytes as the terminal shows them.
    std::string shown(const std::string& bytes) const;
    // What says the lines of a job's report.
    TerminalMessages messages() const { return TerminalMessages(out, err, transcript); }
};

}  // namespace kitloom::cli
