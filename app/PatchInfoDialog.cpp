#include "app/PatchInfoDialog.h"

#include "app/ControlText.h"
#include "app/MessageBoxes.h"
#include "app/resources/resource.h"
#include "patch/PatchFormat.h"

#include <cstring>

namespace kitloom {

namespace {

// The dialog's two values, written by each valid OK and read by Make a Patch.
char patchPrefix[patchformat::kPrefixLength + 1];
char patchFileStem[patchformat::kMaxFileStemLength + 1];
// The Jersey Name the images are named after, for the dialog that is open.
std::string_view patchJerseyName;

void onOk(HWND dialog)
{
    const std::string prefix = controlText(dialog, IDC_PATCH_PREFIX);
    const std::string fileStem = controlText(dialog, IDC_PATCH_FILE);
    if (const auto problem = patchInfoProblem(prefix, fileStem, patchJerseyName)) {
        MessageBoxes messages;
        show(messages, systemMessage(problem->message));
        return;  // open, with both fields as typed
    }
    std::strcpy(patchPrefix, prefix.c_str());
    std::strcpy(patchFileStem, fileStem.c_str());
    EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK patchInfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK)
            onOk(dialog);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
    }
    return FALSE;
}

bool PatchInfoDialog::ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem)
{
    // A Make a Patch started from the form while this dialog is open runs its own
    // dialog inside this one's; this one's name comes back after it.
    const std::string_view outer = patchJerseyName;
    patchJerseyName = jerseyName;
    INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PATCH_INFO), nullptr,
                                    patchInfoDialogProc, 0);
    patchJerseyName = outer;
    if (ended != IDOK)
        return false;
    prefix = patchPrefix;
    fileStem = patchFileStem;
    return true;
}

}  // namespace kitloom
