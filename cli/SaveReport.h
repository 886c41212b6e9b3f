#pragma once

#include "cli/Terminal.h"
#include "core/TeamGearFile.h"

#include <string>

namespace kitloom::cli {

// Tells, save by save, what became of each table, then the outcome in the program's own
// words: a line per table added to ("saves/000/teamgear.dbf: added as record 5"), an ERROR
// line naming each table skipped and the system's reason when it gave one. Ctrl-C stops
// a job after the table in hand.
class SaveReport final : public TableObserver, public TerminalMessages {
public:
    SaveReport(std::ostream& out, std::ostream& err, bool dryRun)
        : TerminalMessages(out, err), out_(out), err_(err), dryRun_(dryRun)
    {
    }

    bool tableDone(const TableReport& report) override;
    void show(MessageKind kind, const std::string& text) override;

    // Prints an ERROR line about `path`: "text (path: reason)".
    void tableError(const std::string& text, const std::string& path, const std::string& reason = {});
    // Prints a line about the table at `path`.
    void tableLine(const std::string& path, const std::string& what);
    // After a stop: which table was the last, and the usage status for it.
    int stopNow();
    // For a --slot that looks like a numbered save written short ("1"), once its table was
    // not found: that numbered save folders have three digits ("001").
    void hintAtSlot(const std::string& slot);

    bool stopped() const { return stopped_; }
    bool anyError() const { return errorCount() > 0; }
    bool dryRun() const { return dryRun_; }

private:
    std::ostream& out_;
    std::ostream& err_;
    bool dryRun_;
    bool stopped_ = false;
    std::string lastTable_;
    std::string pendingMessage_;  // the program's own word for the table just reported
};

}  // namespace kitloom::cli
