#pragma once

#include "form/JerseyForm.h"

#include <functional>
#include <string>
#include <string_view>

namespace kitloom {

class FileSystem;
class Messages;
class TableObserver;

// Asks for a patch's two-letter prefix and its file name, refusing answers that
// patchInfoProblem() refuses for `jerseyName`; false when cancelled or given up.
class PatchInfoPrompt {
public:
    virtual ~PatchInfoPrompt() = default;
    virtual bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) = 0;
};

// Go!: installs the jersey into the Save Slot's table, or into every numbered save.
// True when at least one table got it. `observer` hears of every table tried; a dry run
// changes nothing.
bool installFromForm(const JerseyForm& form, FileSystem& fileSystem, Messages& messages,
                     const std::string& gameFolder = {}, TableObserver* observer = nullptr, bool dryRun = false);

// Make a Patch. `readForm` gives the form as it is at the moment of the call: it is read
// before the prompt and again after it, since the form stays usable while the prompt is open.
bool writePatch(const std::function<JerseyForm()>& readForm, PatchInfoPrompt& prompt, FileSystem& fileSystem,
                Messages& messages);

}  // namespace kitloom
