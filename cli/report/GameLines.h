#pragma once

#include "core/GameFolder.h"
#include "jobs/WhereJob.h"
#include "cli/report/ReportLines.h"

#include <optional>
#include <string>

namespace kitloom::cli {

// kitloom-cli's words on the game a job looked for, and on where.

// The notes of a search: about the player's own settings only (WINEPREFIX, the game chosen
// once), or every note.
ReportLines searchNotes(const GameSearch& search, bool settingsOnly);
// Why no game was used (none found, or several and none chosen) and what to do; the
// search's notes are the caller's to say first. `forPatch`: the patch's folder was looked at
// first.
ReportLines refusalLines(const GameChoice& choice, const GameSearch& search, bool forPatch);
// "game: FOLDER" for a game the search found, the one chosen once, one found in the folder
// given or chosen when asked; none for the rest.
std::optional<ReportLine> gameLine(const GameChoice& choice);
// where: the games found with their notes, or what became of a choice kept or forgotten.
ReportLines whereLines(const WhereRequest& request, const WhereResult& result);

// The names a machine reader gets for a place searched and a search's note.
const char* placeKey(GamePlace place);
const char* noteKey(SearchNoteKind kind);

// `folder` as typed into a shell: quoted where it holds anything but plain characters.
std::string shellQuoted(const std::string& folder);

}  // namespace kitloom::cli
