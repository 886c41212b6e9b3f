#include "app/MainDialog.h"

#include "app/ControlText.h"
#include "app/MessageBoxes.h"
#include "app/PatchInfoDialog.h"
#include "app/resources/resource.h"
#include "core/JerseyLists.h"
#include "app/ProgramHooks.h"
#include "jobs/AddJob.h"
#include "jobs/MakePatchJob.h"
#include "platform/FileSystem.h"

#include <commctrl.h>

#include <string>

namespace kitloom {

namespace {

struct ListControl {
    int id;
    JerseyList list;
};

constexpr ListControl kListControls[] = {{IDC_JERSEY_TYPE, JerseyList::JerseyType},
                                         {IDC_ACCESSORY_COLOUR, JerseyList::AccessoryColour},
                                         {IDC_SHOE, JerseyList::Shoe},
                                         {IDC_SOCK_COLOUR, JerseyList::SockColour},
                                         {IDC_NECK_TYPE, JerseyList::NeckType},
                                         {IDC_LETTERING_TYPE, JerseyList::LetteringType}};

// An opened list shows about ten rows, as the template's heights do without Common Controls 6.
constexpr WPARAM kOpenedListRows = 10;

struct TextControl {
    int id;
    std::string JerseyForm::*field;
};

// In the order Reset Fields empties them.
constexpr TextControl kTextControls[] = {{IDC_SAVE_SLOT, &JerseyForm::saveSlot},
                                         {IDC_TEAM_NUMBER, &JerseyForm::teamNumber},
                                         {IDC_JERSEY_NAME, &JerseyForm::jerseyName},
                                         {IDC_YEAR, &JerseyForm::year}};

// The form as the dialog's controls hold it now.
JerseyForm readDialogForm(HWND dialog)
{
    JerseyForm form;
    for (const TextControl& control : kTextControls)
        form.*control.field = controlText(dialog, control.id);
    for (const ListControl& control : kListControls)
        form.row(control.list) = static_cast<int>(SendDlgItemMessageA(dialog, control.id, CB_GETCURSEL, 0, 0));
    return form;
}

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
    MessageBoxes messages;
    switch (command) {
    case IDC_GO:
        showAll(messages, addJersey(systemFileSystem(), {readDialogForm(dialog), {}, false, &kProgramHooks}).messages);
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
        showAll(messages, makePatch([dialog] { return readDialogForm(dialog); }, prompt, systemFileSystem()).messages);
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
        // Common Controls 6 sizes an opened list by this count (30 unless told), not by the
        // template's height.
        SendDlgItemMessageA(dialog, control.id, CB_SETMINVISIBLE, kOpenedListRows, 0);
        for (int row = 0; row < rowCount(control.list); ++row) {
            std::string label = rowLabel(control.list, row);
            SendDlgItemMessageA(dialog, control.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        }
    }
    selectInitialRows(dialog);
}

void resetFields(HWND dialog)
{
    for (const TextControl& control : kTextControls)
        SetDlgItemTextA(dialog, control.id, "");
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
