#pragma once

#include "cli/FindGame.h"
#include "core/JobReport.h"

#include <string>
#include <vector>

namespace kitloom::cli {

// The file manager's way in (install --notify, from the desktop entry): no terminal to read,
// so the game is asked for with the desktop's own dialogs, and the outcome is shown as a
// notification.

// Asks for the game folder with zenity or kdialog, each started by name from PATH: a list
// of the games found where there are several, else a folder chooser. The folder chosen is
// checked and kept as 'where --use' keeps it. NoWayToAsk when neither program is there;
// `cancelled` tells a player's cancel from a folder that was refused (whose ERROR is told).
AskedGame askForGame(const CommandContext& context, const GameChoice& choice, const GameSearch& search, bool& cancelled);

}  // namespace kitloom::cli
