#include "cli/SaveReport.h"

#include "cli/Cli.h"
#include "cli/JerseyOptions.h"
#include "platform/Interrupt.h"

namespace kitloom::cli {

bool SaveReport::tableDone(const TableReport& report)
{
    lastTable_ = report.tablePath;
    if (report.result == ResultCode::Appended) {
        tableLine(report.tablePath, (dryRun_ ? "would be added as record " : "added as record ") +
                                        std::to_string(report.recordNumber));
    } else {
        tableError(messageFor(report.result), report.tablePath, report.reason);
        // A named save's outcome follows in the program's own words, said here already; a
        // sweep's closing words are its own.
        if (report.namedSave)
            pendingMessage_ = messageFor(report.result);
    }
    stopped_ = interruptRequested();
    return !stopped_;
}

void SaveReport::show(MessageKind kind, const std::string& text)
{
    if (kind == MessageKind::Error) {
        if (!pendingMessage_.empty() && text == pendingMessage_) {
            pendingMessage_.clear();
            return;
        }
        TerminalMessages::show(kind, text);
        return;
    }
    pendingMessage_.clear();
    TerminalMessages::show(kind, text + (dryRun_ ? " (dry run: nothing was changed)" : ""));
}

void SaveReport::tableError(const std::string& text, const std::string& path, const std::string& reason)
{
    lastTable_ = path;
    TerminalMessages::show(MessageKind::Error, text + " (" + path + (reason.empty() ? "" : ": " + reason) + ")");
}

void SaveReport::tableLine(const std::string& path, const std::string& what)
{
    lastTable_ = path;
    out_ << path << ": " << what << std::endl;
}

int SaveReport::stopNow()
{
    err_ << "ERROR: Stopped by Ctrl-C"
         << (lastTable_.empty() ? std::string(" before any save") : " after " + lastTable_)
         << "; the lines above tell every save that changed" << std::endl;
    return kExitInterrupted;
}

void SaveReport::hintAtSlot(const std::string& slot)
{
    if (slot.empty() || slot.size() >= 3 || !isDigits(slot))
        return;
    err_ << "hint: numbered save folders have three digits: --slot " << std::string(3 - slot.size(), '0') << slot
         << std::endl;
}

}  // namespace kitloom::cli
