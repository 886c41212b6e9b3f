#include "core/JerseyLists.h"

#include <array>
#include <span>

namespace kitloom {
namespace {

constexpr std::array<const char*, 3> kJerseyTypes = {"Home", "Away", "Alternate"};
constexpr std::array<const char*, 16> kAccessoryColours = {
    "Black",        "White",       "Royal Blue",   "Navy Blue",   "Light Green", "Dark Green",
    "Light Red",    "Dark Red",    "Light Purple", "Dark Purple", "Teal",        "Turquoise",
    "Light Yellow", "Dark Yellow", "Orange",       "Grey"};
constexpr int kShoeRows = 52;  // labelled "0" to "51"
constexpr std::array<const char*, 2> kSockColours = {"Black", "White"};
constexpr std::array<const char*, 4> kNeckTypes = {"Round Neck", "V Neck 1 (eg Zephlins 2002",
                                                   "V-Neck 2 (eg Marovans 2002)", "V-Neck 3 (eg Vantrels 2002)"};
constexpr std::array<const char*, 2> kLetteringTypes = {"Arched over numbers", "Horizontal over numbers"};

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

int rowCount(JerseyList list)
{
    return list == JerseyList::Shoe ? kShoeRows : static_cast<int>(labelsOf(list).size());
}

std::string rowLabel(JerseyList list, int row)
{
    if (row < 0 || row >= rowCount(list))
        return {};
    if (list == JerseyList::Shoe)
        return std::to_string(row);
    return labelsOf(list)[static_cast<std::size_t>(row)];
}

int initialRow(JerseyList list)
{
    return list == JerseyList::JerseyType ? 2 : 0;  // "Alternate"; the first row elsewhere
}

const char* listTitle(JerseyList list)
{
    switch (list) {
    case JerseyList::JerseyType:
        return "Jersey Type";
    case JerseyList::AccessoryColour:
        return "Accessory Colour";
    case JerseyList::Shoe:
        return "Shoe";
    case JerseyList::SockColour:
        return "Sock Colour";
    case JerseyList::NeckType:
        return "Neck Type";
    case JerseyList::LetteringType:
        return "Lettering Type";
    }
    return "";
}

}  // namespace kitloom
