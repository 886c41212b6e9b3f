#pragma once

#include "core/JerseyLists.h"
#include "form/JerseyForm.h"

#include <string>

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace kitloom::cli {

// The options that describe a jersey, as add and make-patch take them, read straight into
// `form`: texts as typed (names and years converted from the terminal's `encoding` into
// code page 1252), list values as rows. Options not given leave the form as it opens.
void addJerseyOptions(CLI::App& command, JerseyForm& form, const std::string& encoding);
inline constexpr const char* kListValueNote =
    "A list VALUE is a row number, a label in any case, or the beginning of just one label.";

// Checks and conversions for single options; a refused value is a usage mistake.
CLI::Validator digitsOnly();
CLI::Validator codePage1252Text(const std::string& encoding);
CLI::Validator listRow(JerseyList list);  // a list VALUE becomes its row number
CLI::Validator plainSaveFolder();         // a save folder's name as typed: plain, never empty

// The row that `value` names in `list`: a row number, a label in any case, or the
// beginning of exactly one label. False with `problem` otherwise.
bool matchRow(JerseyList list, const std::string& value, int& row, std::string& problem);

// The label of the row that `code` names once `offset` is taken off; "" for none.
std::string labelOfCode(JerseyList list, long long code, int offset);

// Only digits, as the form's Team Number field accepts.
bool isDigits(const std::string& text);

}  // namespace kitloom::cli
