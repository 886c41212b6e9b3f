#include "jobs/JerseyForm.h"

#include "core/Digits.h"
#include "core/JerseyFields.h"
#include "patch/PatchFormat.h"

#include <algorithm>

namespace kitloom {

namespace {

template <std::size_t N>
void copyText(std::array<char, N>& field, const std::string& text, std::size_t length)
{
    field.fill('\0');
    std::copy_n(text.begin(), std::min(length, text.size()), field.begin());
}

}  // namespace

std::int32_t teamNumberValue(const std::string& text)
{
    return static_cast<std::int32_t>(numeralValue(text).value_or(0));
}

JerseyForm::JerseyForm()
{
    for (JerseyList list : kAllJerseyLists)
        row(list) = initialRow(list);
}

std::optional<FormProblem> jerseyFormProblem(const JerseyForm& form)
{
    // The name is checked before the team number, although it stands below it.
    if (form.teamNumber.empty())
        return FormProblem{MessageId::FieldMissing, FormField::TeamNumber};
    if (form.jerseyName.empty())
        return FormProblem{MessageId::FieldMissing, FormField::JerseyName};
    if (form.year.empty())
        return FormProblem{MessageId::FieldMissing, FormField::Year};
    if (!jerseyNameFits(form.jerseyName))
        return FormProblem{MessageId::JerseyNameLength, FormField::JerseyName};
    if (!teamNumberFits(form.teamNumber))
        return FormProblem{MessageId::TeamNumberLength, FormField::TeamNumber};
    if (!yearFits(form.year))
        return FormProblem{MessageId::YearLength, FormField::Year};
    return std::nullopt;
}

JerseySpec readJerseyForm(const JerseyForm& form, ShoeCode shoeCode)
{
    JerseySpec spec;
    spec.teamNumber = teamNumberValue(form.teamNumber);
    copyText(spec.jerseyName, form.jerseyName, kJerseyNameLength);
    copyText(spec.year, form.year, kYearLength);
    for (const JerseyField& field : kJerseyFields) {
        if (field.list)
            setNumber(spec, field, codeOfRow(*field.list, form.row(*field.list), shoeCode));
    }
    return spec;
}

std::optional<FormProblem> patchInfoProblem(const std::string& prefix, const std::string& fileStem,
                                            std::string_view jerseyName)
{
    // The images are named prefix + Jersey Name: the installer takes nothing else.
    const std::string imageStem = prefix + std::string(jerseyName.substr(0, kJerseyNameLength));
    if (prefix.size() != patchformat::kPrefixLength || !isPlainName(imageStem) || hasControlCharacter(imageStem))
        return FormProblem{MessageId::InvalidField, FormField::Prefix};
    if (!patchformat::fileStemFits(fileStem))
        return FormProblem{MessageId::InvalidField, FormField::FileStem};
    return std::nullopt;
}

}  // namespace kitloom
