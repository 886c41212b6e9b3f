#pragma once

#include "core/JerseyLists.h"
#include "core/JerseySpec.h"
#include "jobs/SystemMessages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kitloom {

// What the jersey form holds, whatever shows it: the texts exactly as typed and the row
// selected in each list. A front end fills it from its own controls; the rules below
// never see a control.
struct JerseyForm {
    JerseyForm();  // as the form opens: empty texts, each list on its opening row

    int& row(JerseyList list) { return rows[static_cast<std::size_t>(list)]; }
    int row(JerseyList list) const { return rows[static_cast<std::size_t>(list)]; }
    bool operator==(const JerseyForm&) const = default;

    std::string saveSlot;
    std::string teamNumber;
    std::string jerseyName;
    std::string year;
    std::array<int, std::size(kAllJerseyLists)> rows{};  // by JerseyList
};

// The lengths a jersey's texts must have, wherever they are typed.
inline bool teamNumberFits(const std::string& text) { return !text.empty() && text.size() <= kTeamNumberDigits; }
inline bool jerseyNameFits(const std::string& text) { return text.size() == kJerseyNameLength; }
inline bool yearFits(const std::string& text) { return text.size() == kYearLength; }
// A Team Number's digits read as an unsigned number, as the table stores it: 0 for
// anything but digits, or for a number too large.
std::int32_t teamNumberValue(const std::string& text);

// The fields a job's request can be refused for, as the form names them.
enum class FormField { SaveSlot, TeamNumber, JerseyName, Year, Prefix, FileStem };

// Why a request was refused: the system's words, and the field they are about.
struct FormProblem {
    MessageId message;
    FormField field;
    bool operator==(const FormProblem&) const = default;
};

// The first problem of the jersey's fields in the order the user is told of them, or none.
std::optional<FormProblem> jerseyFormProblem(const JerseyForm& form);
// The jersey on the form. Texts shorter than their fields leave zero bytes.
JerseySpec readJerseyForm(const JerseyForm& form, ShoeCode shoeCode);

// The Extra Patch Info rule: a prefix of exactly 2 characters that, with the Jersey Name,
// makes a plain file name, and a file name of 1 to 75 characters. InvalidField, about the
// prefix (with the Jersey Name, the images' names) or the file name, or none.
std::optional<FormProblem> patchInfoProblem(const std::string& prefix, const std::string& fileStem,
                                            std::string_view jerseyName);

}  // namespace kitloom
