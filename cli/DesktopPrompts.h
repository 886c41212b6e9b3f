#pragma once

#include "cli/CommandContext.h"
#include "cli/report/Notification.h"
#include "jobs/JobHooks.h"

#include <optional>

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

// How an install's outcome reached the player.
enum class OutcomeShown { Notified, InDialog, Logged, Nowhere };

// Shows `notification`: as a desktop notification (notify-send); without one, in a zenity or
// kdialog message box; without those, appended to the outcome log, which the next command
// from a terminal tells of once. `failed`: the box shows a warning.
OutcomeShown showOutcome(const Notification& notification, bool failed, std::string& logPath);

// The note a command from a terminal gives once after an outcome went to the log unseen; none
// when there is none to give. Reading it marks it as given.
std::optional<std::string> unseenOutcomeNote();

}  // namespace kitloom::cli
