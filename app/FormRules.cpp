#include "app/FormRules.h"

#include "app/resources/resource.h"
#include "core/GamePaths.h"
#include "core/JerseyLists.h"
#include "core/TeamGearFile.h"
#include "patch/PatchFormat.h"
#include "patch/PatchWriter.h"
#include "platform/Messages.h"

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

}  // namespace

bool checkJerseyForm(JerseyForm& form, Messages& messages)
{
    const int teamLength = form.textLength(IDC_TEAM_NUMBER);
    const int nameLength = form.textLength(IDC_JERSEY_NAME);
    const int yearLength = form.textLength(IDC_YEAR);

    const char* problem = nullptr;
    if (teamLength == 0 || nameLength == 0 || yearLength == 0)
        problem = "You forgot to fill in a field!";
    else if (nameLength != static_cast<int>(kJerseyNameLength))
        problem = "The jersey name wasn't the right length!";
    else if (teamLength != 1 && teamLength != 2)
        problem = "The Team ID wasn't the right length!";
    else if (yearLength != static_cast<int>(kYearLength))
        problem = "The year wasn't the right length!";

    if (problem) {
        showError(messages, problem);
        return false;
    }
    return true;
}

JerseySpec readJerseyForm(JerseyForm& form, int shoeOffset)
{
    JerseySpec spec;
    spec.teamNumber = static_cast<std::int32_t>(form.number(IDC_TEAM_NUMBER));
    spec.jerseyType = form.selectedRow(IDC_JERSEY_TYPE);
    // Shorter texts than the fields hold leave zero bytes, never leftovers.
    copyText(spec.jerseyName, form.text(IDC_JERSEY_NAME, kJerseyNameLength), kJerseyNameLength);
    copyText(spec.year, form.text(IDC_YEAR, kYearLength), kYearLength);
    spec.accessoryColour = form.selectedRow(IDC_ACCESSORY_COLOUR) + kAccessoryColourCodeOffset;
    spec.shoe = form.selectedRow(IDC_SHOE) + shoeOffset;
    spec.sockColour = form.selectedRow(IDC_SOCK_COLOUR);
    spec.neckType = form.selectedRow(IDC_NECK_TYPE);
    spec.letteringType = form.selectedRow(IDC_LETTERING_TYPE);
    return spec;
}

bool installFromForm(JerseyForm& form, FileSystem& fileSystem, Messages& messages, const std::string& gameFolder)
{
    if (!checkJerseyForm(form, messages))
        return false;
    const int slotLength = form.textLength(IDC_SAVE_SLOT);
    if (slotLength > kMaxSaveSlotLength) {
        showError(messages, "Invalid Save Slot");
        return false;
    }

    TeamGearFile teamGear(fileSystem, messages, gameFolder);
    const JerseySpec spec = readJerseyForm(form, kShoeCodeOffsetInstalled);
    std::string tablePath;
    if (slotLength > 0) {
        tablePath = namedSaveTablePath(gameFolder, form.text(IDC_SAVE_SLOT, kMaxSaveSlotLength));
        return teamGear.installJersey(tablePath, spec, true);
    }
    return teamGear.installJersey(tablePath, spec, false);
}

bool checkPatchInfo(std::size_t prefixLength, std::size_t stemLength, Messages& messages)
{
    if (prefixLength == patchformat::kPrefixLength && stemLength > 0 && stemLength <= patchformat::kMaxFileStemLength)
        return true;
    showError(messages, "Invalid Field");
    return false;
}

bool writePatch(JerseyForm& form, PatchInfoPrompt& prompt, FileSystem& fileSystem, Messages& messages)
{
    if (!checkJerseyForm(form, messages))
        return false;
    std::string prefix;
    std::string fileStem;
    if (!prompt.ask(prefix, fileStem))
        return false;
    // The form stays usable while the prompt is open, so it may have changed meanwhile.
    if (!checkJerseyForm(form, messages))
        return false;
    return writePatchFile(prefix, fileStem, readJerseyForm(form, kShoeCodeOffsetInPatch), fileSystem, messages);
}

unsigned decimalFieldValue(const std::string& text)
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
    return static_cast<unsigned>(value);
}

}  // namespace kitloom
