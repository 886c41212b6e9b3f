#include "app/PatchInfoDialog.h"

#include "app/resources/resource.h"
#include "patch/PatchFormat.h"
#include "platform/MessageBoxes.h"

namespace kitloom {

namespace {

// The dialog's two values, written by each valid OK and read by Make a Patch.
char patchPrefix[patchformat::kPrefixLength + 1];
char patchFileStem[patchformat::kMaxFileStemLength + 1];

void onOk(HWND dialog)
{
    const int prefixLength = GetWindowTextLengthA(GetDlgItem(dialog, IDC_PATCH_PREFIX));
    const int stemLength = GetWindowTextLengthA(GetDlgItem(dialog, IDC_PATCH_FILE));
    MessageBoxes messages;
    if (!checkPatchInfo(static_cast<std::size_t>(prefixLength), static_cast<std::size_t>(stemLength), messages))
        return;
    GetDlgItemTextA(dialog, IDC_PATCH_PREFIX, patchPrefix, sizeof patchPrefix);
    GetDlgItemTextA(dialog, IDC_PATCH_FILE, patchFileStem, sizeof patchFileStem);
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

bool PatchInfoDialog::ask(std::string& prefix, std::string& fileStem)
{
    INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PATCH_INFO), nullptr,
                                    patchInfoDialogProc, 0);
    if (ended != IDOK)
        return false;
    prefix = patchPrefix;
    fileStem = patchFileStem;
    return true;
}

}  // namespace kitloom
