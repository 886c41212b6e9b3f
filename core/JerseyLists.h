#pragma once

#include <string>

namespace kitloom {

// The six lists a jersey's style choices come from, in the order the form shows them.
enum class JerseyList { JerseyType, AccessoryColour, Shoe, SockColour, NeckType, LetteringType };

inline constexpr JerseyList kAllJerseyLists[] = {JerseyList::JerseyType, JerseyList::AccessoryColour,
                                                 JerseyList::Shoe,       JerseyList::SockColour,
                                                 JerseyList::NeckType,   JerseyList::LetteringType};

// Stored codes are row + offset for these two lists; the others store the row itself.
inline constexpr int kAccessoryColourCodeOffset = 2;
inline constexpr int kShoeCodeOffsetInstalled = 1;  // Go! puts row + 1 into the table
inline constexpr int kShoeCodeOffsetInPatch = 2;    // a patch carries row + 2

int rowCount(JerseyList list);
// The row's label; empty for a row outside the list.
std::string rowLabel(JerseyList list, int row);
// The row selected when the form opens and on Reset Fields.
int initialRow(JerseyList list);
// The list's title as the form labels it ("Jersey Type", "Shoe", ...).
const char* listTitle(JerseyList list);

}  // namespace kitloom
