#pragma once

#include "core/JerseyLists.h"
#include "jobs/JerseyForm.h"

#include <optional>
#include <string>

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace kitloom::cli {

struct CommandContext;

// The options that describe a jersey, as add and make-patch take them, read straight into
// `form`: texts as typed, list values as rows. Options not given leave the form as it opens.
void addJerseyOptions(CLI::App& command, JerseyForm& form);
// The form's name and year as a table holds them, converted in place; the usage problem with
// its option when one cannot be.
std::optional<std::string> toTableTexts(JerseyForm& form, const CommandContext& context);
// The option a field of the form is typed into.
const char* optionOf(FormField field);
// A job's refusal as a usage problem: the field's option and the system's words.
std::string refusalText(const FormProblem& problem);
inline constexpr const char* kListValueNote =
    "A list VALUE is a row number, a label in any case, or the beginning of just one label.";

// Checks and conversions for single options; a refused value is a usage mistake.
CLI::Validator digitsOnly();
// A list VALUE becomes its row number. The check is named by the list's title, by which
// the shell completions find the labels to offer.
CLI::Validator listRow(JerseyList list);
CLI::Validator plainSaveFolder();  // a save folder's name as typed: plain, never empty

// The row that `value` names in `list`, or false with the `problem` in a user's words.
bool matchRow(JerseyList list, const std::string& value, int& row, std::string& problem);

}  // namespace kitloom::cli
