#include "cli/JobReporter.h"

#include "cli/report/GameLines.h"
#include "jobs/GameDecision.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"
#include "text/TerminalEscape.h"

#include <csignal>

namespace kitloom::cli {

bool JobReporter::tableVisited(const TableReport& table)
{
    if (!dryRun_ && tableChanged(table))
        ++context_.savesChanged;
    say(words_ == TableWords::Append ? appendLines(table, dryRun_) : removalLines(table, dryRun_));
    lastTable_ = table.tablePath;
    return !interruptRequested();
}

void JobReporter::imageMoved(const ImageMove& move) { say(imageLines(move, dryRun_)); }

void JobReporter::gameChosen(const GameChoice& choice, const GameSearch& search)
{
    if (choice.source == GameSource::Refused)
        say({Tone::Error, escapedText(withoutClosingSeparator(choice.folder)) +
                              " holds no saves folder, so it is not the game folder"});
    else if (choice.source == GameSource::Asked && choice.unkept)
        say({Tone::Note, "the choice could not be kept; it is used for this install only"});
    // Each note once: every one where no game is used, else those about the player's settings.
    const bool refused = !gameDecided(choice) && choice.source != GameSource::NotChosen &&
                         choice.source != GameSource::Refused;
    say(searchNotes(search, !refused));
    if (choice.source == GameSource::NotChosen || choice.source == GameSource::Refused)
        return;  // the player said no, or was told why the folder chosen is not the game's
    if (refused)
        say(refusalLines(choice, search, forPatch_));
    else if (const auto line = gameLine(choice))
        named_ << line->text << std::endl;
}

int JobReporter::stopNow()
{
    const int signal = interruptSignal();
    say(stopLine(interruptName(signal), lastTable_));
    return kExitSignalBase + (signal == 0 ? SIGINT : signal);
}

}  // namespace kitloom::cli
