#include "core/JerseyLists.h"

#include "core/Digits.h"
#include "core/JerseyFields.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <span>

namespace kitloom {
namespace {

constexpr std::array<const char*, rowCount(JerseyList::JerseyType)> kJerseyTypes = {"Home", "Away", "Alternate"};
constexpr std::array<const char*, rowCount(JerseyList::AccessoryColour)> kAccessoryColours = {
    "Black",        "White",       "Royal Blue", "Navy Blue", "Light Green",  "Dark Green",  "Light Red", "Dark Red",
    "Light Purple", "Dark Purple", "Teal",       "Turquoise", "Light Yellow", "Dark Yellow", "Orange",    "Grey"};
constexpr std::array<const char*, rowCount(JerseyList::SockColour)> kSockColours = {"Black", "White"};
constexpr std::array<const char*, rowCount(JerseyList::NeckType)> kNeckTypes = {
    "Round Neck", "V Neck 1 (eg Zephlins 2002", "V-Neck 2 (eg Marovans 2002)", "V-Neck 3 (eg Vantrels 2002)"};
constexpr std::array<const char*, rowCount(JerseyList::LetteringType)> kLetteringTypes = {"Arched over numbers",
                                                                                          "Horizontal over numbers"};

std::span<const char* const> labelsOf(JerseyList list)
{
    switch (list) {
    case JerseyList::JerseyType:
        return kJerseyTypes;
    case JerseyList::AccessoryColour:
        return kAccessoryColours;
    case JerseyList::SockColour:
        return kSockColours;
    case JerseyList::NeckType:
        return kNeckTypes;
    case JerseyList::LetteringType:
        return kLetteringTypes;
    case JerseyList::Shoe:
        break;
    }
    return {};
}

}  // namespace

RowMatch findRow(JerseyList list, const std::string& value)
{
    RowMatch match;
    const int rows = rowCount(list);
    if (isNumeral(value)) {
        if (const auto number = numeralValue(value); number && *number < static_cast<std::uint32_t>(rows))
            match.row = static_cast<int>(*number);
        return match;
    }
    for (int candidate = 0; candidate < rows && !value.empty(); ++candidate) {
        const std::string label = rowLabel(list, candidate);
        if (equalsIgnoringAsciiCase(label, value)) {
            match.row = candidate;
            match.candidates.clear();
            return match;
        }
        if (startsWithIgnoringAsciiCase(label, value))
            match.candidates.push_back(candidate);
    }
    if (match.candidates.size() == 1)
        match.row = match.candidates.front();
    return match;
}

std::string rowLabel(JerseyList list, int row)
{
    if (row < 0 || row >= rowCount(list))
        return {};
    if (list == JerseyList::Shoe)
        return std::to_string(row);
    return labelsOf(list)[static_cast<std::size_t>(row)];
}

std::int32_t codeOfRow(JerseyList list, int row, ShoeCode shoeCode) { return row + codeOfFirstRow(list, shoeCode); }

std::string labelOfCode(JerseyList list, long long code, ShoeCode shoeCode)
{
    const long long row = code - codeOfFirstRow(list, shoeCode);
    if (row < 0 || row >= rowCount(list))
        return {};
    return rowLabel(list, static_cast<int>(row));
}

int initialRow(JerseyList list)
{
    return list == JerseyList::JerseyType ? 2 : 0;  // "Alternate"; the first row elsewhere
}

const char* listTitle(JerseyList list)
{
    return std::find_if(std::begin(kJerseyFields), std::end(kJerseyFields),
                        [list](const JerseyField& field) { return field.list == list; })
        ->title;
}

}  // namespace kitloom
