#pragma once

#include "cli/Cli.h"
#include "jobs/JobStatus.h"
#include "jobs/Messages.h"
#include "jobs/ReportLines.h"

#include <optional>
#include <ostream>
#include <string>

namespace kitloom {
class FileSystem;
}

namespace kitloom::cli {

// Every message a job shows, as one line: "ERROR: text" on the error stream,
// "SUCCESS: text" on the output stream.
class TerminalMessages : public Messages {
public:
    TerminalMessages(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void show(MessageKind kind, const std::string& text) override
    {
        if (kind == MessageKind::Error) {
            ++errors_;
            err_ << "ERROR: " << text << std::endl;
        } else {
            out_ << "SUCCESS: " << text << std::endl;
        }
    }
    int errorCount() const { return errors_; }

    // A line of a job's report, as its tone says.
    void say(const ReportLine& line)
    {
        switch (line.tone) {
        case Tone::Line:
            out_ << line.text << std::endl;
            return;
        case Tone::Error:
            show(MessageKind::Error, line.text);
            return;
        case Tone::Success:
            show(MessageKind::Success, line.text);
            return;
        case Tone::Note:
            err_ << "note: " << line.text << std::endl;
            return;
        case Tone::Hint:
            err_ << "hint: " << line.text << std::endl;
            return;
        case Tone::Listed:
            err_ << "  " << line.text << std::endl;
            return;
        }
    }
    void say(const ReportLines& lines)
    {
        for (const ReportLine& line : lines)
            say(line);
    }

private:
    std::ostream& out_;
    std::ostream& err_;
    int errors_ = 0;
};

// The exit status of a job that ran to its end.
inline int exitStatus(JobStatus status) { return status == JobStatus::Succeeded ? kExitSuccess : kExitFailure; }

// What a command runs with.
struct CommandContext {
    std::ostream& out;
    std::ostream& err;
    FileSystem& fileSystem;
    std::string encoding;  // the terminal's; tables and patches hold code page 1252
    std::string command;   // for usage hints
    int& savesChanged;     // tables a job changed so far, for a report that could not be printed

    // Prints the one-line hint and gives the usage exit status.
    int usage(const std::string& problem) const;
    // Typed text as a table holds it, converted in place; the usage problem with `option` when
    // it holds a control character or one that code page 1252 lacks.
    std::optional<std::string> toTableText(std::string& text, const std::string& option) const;
    // Code page 1252 bytes as the terminal shows them.
    std::string shown(const std::string& bytes) const;
};

}  // namespace kitloom::cli
