#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kitloom {

// The six lists a jersey's style choices come from, in the order the form shows them.
enum class JerseyList : std::uint8_t { JerseyType, AccessoryColour, Shoe, SockColour, NeckType, LetteringType };

inline constexpr JerseyList kAllJerseyLists[] = {JerseyList::JerseyType, JerseyList::AccessoryColour,
                                                 JerseyList::Shoe,       JerseyList::SockColour,
                                                 JerseyList::NeckType,   JerseyList::LetteringType};

// Which shoe code the Shoe row gives: Go! installs row + 1, a patch carries row + 2.
enum class ShoeCode { Installed, InPatch };

// How many rows each list has, by JerseyList.
inline constexpr int kRowCounts[] = {3, 16, 52, 2, 4, 2};
// What a list's first row is stored as: its code is the row plus this.
inline constexpr int codeOfFirstRow(JerseyList list, ShoeCode shoeCode = ShoeCode::Installed)
{
    if (list == JerseyList::AccessoryColour)
        return 2;
    if (list == JerseyList::Shoe)
        return shoeCode == ShoeCode::Installed ? 1 : 2;
    return 0;
}
inline constexpr int rowCount(JerseyList list) { return kRowCounts[static_cast<int>(list)]; }

// The row's label; empty for a row outside the list.
std::string rowLabel(JerseyList list, int row);
// The row selected when the form opens and on Reset Fields.
int initialRow(JerseyList list);
// The code a table or a patch stores for `row`: row + 2 for the accessory colour, row + 1
// or + 2 for the shoe (by `shoeCode`), the row itself for the others.
std::int32_t codeOfRow(JerseyList list, int row, ShoeCode shoeCode = ShoeCode::Installed);
// The label of the row that `code` names; empty when it names none.
std::string labelOfCode(JerseyList list, long long code, ShoeCode shoeCode = ShoeCode::Installed);
// The row a typed `value` names: a row number, a label in any case, or the beginning of
// exactly one label. Without one, `candidates` holds the rows whose labels it begins.
struct RowMatch {
    std::optional<int> row;
    std::vector<int> candidates;
};
RowMatch findRow(JerseyList list, const std::string& value);
// The list's title as the form labels it ("Jersey Type", "Shoe", ...): its field's in
// kJerseyFields.
const char* listTitle(JerseyList list);

}  // namespace kitloom
