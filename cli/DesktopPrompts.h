#pragma once

#include "cli/CommandContext.h"
#include "jobs/JobHooks.h"

#include <string>
#include <vector>

namespace kitloom::cli {

// The file manager's way in (install --notify, from the desktop entry): no terminal to read,
// so the game is asked for with the desktop's own dialogs, and the outcome is shown as a
// notification.

// Asks for the game folder with zenity or kdialog, each started by name from PATH: a list
// of the games found where there are several, else a folder chooser. NoWayToAsk when neither
// program is there; Stopped when the player cancelled.
AskedGame askOnDesktop(const GameChoice& choice, const GameSearch& search);

}  // namespace kitloom::cli
