#pragma once

#include "core/JerseySpec.h"

#include <cstddef>
#include <string>

namespace kitloom {

class FileSystem;
class Messages;

// The jersey form as the rules reach it: by control id (app/resources/resource.h).
class JerseyForm {
public:
    virtual ~JerseyForm() = default;
    virtual int textLength(int fieldId) = 0;
    // At most `maxChars` characters of the field's text.
    virtual std::string text(int fieldId, int maxChars) = 0;
    // The field read as an unsigned decimal number; 0 when it does not read as one.
    virtual unsigned number(int fieldId) = 0;
    // The 0-based row selected in a list.
    virtual int selectedRow(int listId) = 0;
};

// Asks for a patch's two-letter prefix and its file name; false when cancelled.
class PatchInfoPrompt {
public:
    virtual ~PatchInfoPrompt() = default;
    virtual bool ask(std::string& prefix, std::string& fileStem) = 0;
};

inline constexpr int kMaxSaveSlotLength = 236;  // "saves\" + slot + "\teamgear.dbf" fits 255

// Accepts the form, or shows the first problem found and refuses it.
bool checkJerseyForm(JerseyForm& form, Messages& messages);
// The jersey on the form; the Shoe row plus `shoeOffset` gives the shoe code.
JerseySpec readJerseyForm(JerseyForm& form, int shoeOffset);
// Go!: installs the jersey into the Save Slot's table, or into every numbered save.
// True when at least one table got it.
bool installFromForm(JerseyForm& form, FileSystem& fileSystem, Messages& messages,
                     const std::string& gameFolder = {});
// The Extra Patch Info rule: a prefix of exactly 2 characters and a file name of 1 to 75.
// Shows "Invalid Field" and refuses anything else.
bool checkPatchInfo(std::size_t prefixLength, std::size_t stemLength, Messages& messages);
// Make a Patch: asks for the prefix and file name, then writes the patch.
bool writePatch(JerseyForm& form, PatchInfoPrompt& prompt, FileSystem& fileSystem, Messages& messages);

// What a digits-only field gives as a number: its value, or 0 for anything else.
unsigned decimalFieldValue(const std::string& text);

}  // namespace kitloom
