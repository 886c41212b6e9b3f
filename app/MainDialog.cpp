#include "app/MainDialog.h"

#include "app/FormRules.h"
#include "app/PatchInfoDialog.h"
#include "app/resources/resource.h"
#include "core/JerseyLists.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

#include <vector>

namespace kitloom {

namespace {

struct ListControl {
    int id;
    JerseyList list;
};

constexpr ListControl kListControls[] = {
    {IDC_JERSEY_TYPE, JerseyList::JerseyType}, {IDC_ACCESSORY_COLOUR, JerseyList::AccessoryColour},
    {IDC_SHOE, JerseyList::Shoe},              {IDC_SOCK_COLOUR, JerseyList::SockColour},
    {IDC_NECK_TYPE, JerseyList::NeckType},     {IDC_LETTERING_TYPE, JerseyList::LetteringType}};

constexpr int kTextFields[] = {IDC_SAVE_SLOT, IDC_TEAM_NUMBER, IDC_JERSEY_NAME, IDC_YEAR};

// The form rules' view of the main dialog.
class DialogForm final : public JerseyForm {
public:
    explicit DialogForm(HWND dialog) : dialog_(dialog) {}

    int textLength(int fieldId) override { return GetWindowTextLengthA(GetDlgItem(dialog_, fieldId)); }
    std::string text(int fieldId, int maxChars) override
    {
        std::vector<char> buffer(static_cast<std::size_t>(maxChars) + 1, '\0');
        GetDlgItemTextA(dialog_, fieldId, buffer.data(), maxChars + 1);
        return buffer.data();
    }
    unsigned number(int fieldId) override
    {
        BOOL translated = FALSE;
        return GetDlgItemInt(dialog_, fieldId, &translated, FALSE);
    }
    int selectedRow(int listId) override
    {
        return static_cast<int>(SendDlgItemMessageA(dialog_, listId, CB_GETCURSEL, 0, 0));
    }

private:
    HWND dialog_;
};

void selectInitialRows(HWND dialog)
{
    for (const ListControl& control : kListControls)
        SendDlgItemMessageA(dialog, control.id, CB_SETCURSEL, static_cast<WPARAM>(initialRow(control.list)), 0);
}

void setIcons(HWND dialog)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconA(module, MAKEINTRESOURCEA(IDI_LETTERS))));
    SendMessageA(dialog, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(module, MAKEINTRESOURCEA(IDI_JERSEY))));
}

void onCommand(HWND dialog, int command)
{
    DialogForm form(dialog);
    MessageBoxes messages;
    switch (command) {
    case IDC_GO:
        installFromForm(form, systemFileSystem(), messages);
        break;
    case IDM_RESET_FIELDS:
        resetFields(dialog);
        break;
    case IDM_EXIT:
        EndDialog(dialog, IDM_EXIT);
        break;
    case IDM_ABOUT:
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), dialog, aboutDialogProc, 0);
        break;
    case IDM_MAKE_PATCH: {
        PatchInfoDialog prompt;
        writePatch(form, prompt, systemFileSystem(), messages);
        break;
    }
    default:
        break;  // Escape (IDCANCEL) among others: the form stays open
    }
}

}  // namespace

void fillJerseyLists(HWND dialog)
{
    for (const ListControl& control : kListControls) {
        for (int row = 0; row < rowCount(control.list); ++row) {
            std::string label = rowLabel(control.list, row);
            SendDlgItemMessageA(dialog, control.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        }
    }
    selectInitialRows(dialog);
}

void resetFields(HWND dialog)
{
    for (int field : kTextFields)
        SetDlgItemTextA(dialog, field, "");
    selectInitialRows(dialog);
}

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        setIcons(dialog);
        fillJerseyLists(dialog);
        return TRUE;  // the focus goes to the first tab stop, Go!
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, IDM_EXIT);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        EndDialog(dialog, IDOK);
    return FALSE;
}

}  // namespace kitloom
