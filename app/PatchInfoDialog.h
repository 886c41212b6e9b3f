#pragma once

#include "jobs/MakePatchJob.h"

#include <windows.h>

namespace kitloom {

// The Extra Patch Info dialog: a two-letter prefix that makes plain image names and a file
// name of 1 to 75 characters. Ends with 1 after a valid OK, 2 after Cancel.
INT_PTR CALLBACK patchInfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog without an owner window, so the form stays usable meanwhile.
class PatchInfoDialog final : public PatchInfoPrompt {
public:
    bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) override;
};

}  // namespace kitloom
