#include "form/JerseyForm.h"

#include "patch/PatchFormat.h"

#include <algorithm>
#include <limits>

namespace kitloom {

namespace {

template <std::size_t N>
void copyText(std::array<char, N>& field, const std::string& text, std::size_t length)
{
    field.fill('\0');
    std::copy_n(text.begin(), std::min(length, text.size()), field.begin());
}

// A digits-only field read as an unsigned number: its value, or 0 for anything else.
std::int32_t decimalValue(const std::string& text)
{
    if (text.empty())
        return 0;
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > std::numeric_limits<unsigned>::max())
            return 0;
    }
    return static_cast<std::int32_t>(static_cast<unsigned>(value));
}

}  // namespace

JerseyForm::JerseyForm()
{
    for (JerseyList list : kAllJerseyLists)
        row(list) = initialRow(list);
}

std::optional<MessageId> jerseyFormProblem(const JerseyForm& form)
{
    const std::size_t team = form.teamNumber.size();
    const std::size_t name = form.jerseyName.size();
    const std::size_t year = form.year.size();
    // The name is checked before the team number, although it stands below it.
    if (team == 0 || name == 0 || year == 0)
        return MessageId::FieldMissing;
    if (name != kJerseyNameLength)
        return MessageId::JerseyNameLength;
    if (team != 1 && team != 2)
        return MessageId::TeamNumberLength;
    if (year != kYearLength)
        return MessageId::YearLength;
    return std::nullopt;
}

JerseySpec readJerseyForm(const JerseyForm& form, ShoeCode shoeCode)
{
    JerseySpec spec;
    spec.teamNumber = decimalValue(form.teamNumber);
    copyText(spec.jerseyName, form.jerseyName, kJerseyNameLength);
    copyText(spec.year, form.year, kYearLength);
    auto code = [&](JerseyList list) { return codeOfRow(list, form.row(list), shoeCode); };
    spec.jerseyType = code(JerseyList::JerseyType);
    spec.accessoryColour = code(JerseyList::AccessoryColour);
    spec.shoe = code(JerseyList::Shoe);
    spec.sockColour = code(JerseyList::SockColour);
    spec.neckType = code(JerseyList::NeckType);
    spec.letteringType = code(JerseyList::LetteringType);
    return spec;
}

std::optional<MessageId> patchInfoProblem(const std::string& prefix, const std::string& fileStem,
                                          std::string_view jerseyName)
{
    // The images are named prefix + Jersey Name: the installer takes nothing else.
    const std::string imageStem = prefix + std::string(jerseyName.substr(0, kJerseyNameLength));
    const bool fine = prefix.size() == patchformat::kPrefixLength && isPlainName(imageStem) &&
                      !hasControlCharacter(imageStem) && !fileStem.empty() &&
                      fileStem.size() <= patchformat::kMaxFileStemLength;
    if (fine)
        return std::nullopt;
    return MessageId::InvalidField;
}

}  // namespace kitloom
