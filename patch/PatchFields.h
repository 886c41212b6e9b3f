#pragma once

#include "core/JerseyLists.h"
#include "patch/PatchReader.h"

#include <optional>
#include <string>
#include <vector>

namespace kitloom {

// One field of a patch as a reader sees it: its three lines, then its trailer's fields.
struct PatchField {
    const char* key;                 // as JSON names it
    const char* title;               // as the form labels it
    std::optional<long long> code;   // none for a text
    std::string text;                // a text's bytes, code page 1252
    std::optional<JerseyList> list;  // the list whose row a code names
    std::string label;               // that row's label; empty when the code names none
};

// Every field of `patch`, in the file's order.
std::vector<PatchField> decodePatch(const Patch& patch);

}  // namespace kitloom
