#pragma once

#include "cli/Arguments.h"
#include "core/JerseyLists.h"
#include "form/JerseyForm.h"

#include <string>
#include <vector>

namespace kitloom::cli {

// The options that describe a jersey, as add and make-patch take them.
std::vector<OptionSpec> jerseyOptionSpecs();
std::string jerseyOptionsHelp();

// Fills `form` from the jersey options; lists not given keep the form's opening rows and
// texts not given stay empty, so that the form's own check names them. False with
// `problem` for a value that the form could not hold.
bool fillJerseyForm(const ParsedArguments& args, JerseyForm& form, std::string& problem);

// The row that `value` names in `list`: a row number, a label in any case, or the
// beginning of exactly one label. False with `problem` otherwise.
bool matchRow(JerseyList list, const std::string& value, int& row, std::string& problem);

// The label of the row that `code` names once `offset` is taken off; "" for none.
std::string labelOfCode(JerseyList list, long long code, int offset);

// Only digits, as the form's Team Number and Save Slot fields accept.
bool isDigits(const std::string& text);

}  // namespace kitloom::cli
