#include "app/MainDialog.h"
#include "app/resources/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace kitloom {
namespace {

struct ListState {
    int id;
    std::vector<std::string> rows;
    int selected;
};

std::vector<std::string> shoeRows()
{
    std::vector<std::string> rows;
    for (int shoe = 0; shoe <= 51; ++shoe)
        rows.push_back(std::to_string(shoe));
    return rows;
}

// What the lists hold and show when the form opens, and again after Reset Fields.
const std::vector<ListState>& openingLists()
{
    static const std::vector<ListState> lists = {
        {IDC_JERSEY_TYPE, {"Home", "Away", "Alternate"}, 2},
        {IDC_ACCESSORY_COLOUR,
         {"Black", "White", "Royal Blue", "Navy Blue", "Light Green", "Dark Green", "Light Red", "Dark Red",
          "Light Purple", "Dark Purple", "Teal", "Turquoise", "Light Yellow", "Dark Yellow", "Orange", "Grey"},
         0},
        {IDC_SHOE, shoeRows(), 0},
        {IDC_SOCK_COLOUR, {"Black", "White"}, 0},
        {IDC_NECK_TYPE,
         {"Round Neck", "V Neck 1 (eg Zephlins 2002", "V-Neck 2 (eg Marovans 2002)", "V-Neck 3 (eg Vantrels 2002)"},
         0},
        {IDC_LETTERING_TYPE, {"Arched over numbers", "Horizontal over numbers"}, 0},
    };
    return lists;
}

constexpr int kTextFields[] = {IDC_SAVE_SLOT, IDC_TEAM_NUMBER, IDC_JERSEY_NAME, IDC_YEAR};

// The main dialog as a modeless window of this process, with the resources linked into
// this program.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override
    {
        if (dialog)
            DestroyWindow(dialog);
    }

    std::string text(int id) const
    {
        char buffer[256] = {};
        GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
        return buffer;
    }
    std::vector<std::string> rows(int id) const
    {
        std::vector<std::string> rows;
        const LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
        for (LRESULT row = 0; row < count; ++row) {
            char buffer[256] = {};
            SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer));
            rows.push_back(buffer);
        }
        return rows;
    }
    int selected(int id) const { return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }

    void expectOpeningState() const
    {
        for (int field : kTextFields)
            EXPECT_EQ(text(field), "") << "field " << field;
        for (const ListState& list : openingLists()) {
            EXPECT_EQ(rows(list.id), list.rows) << "list " << list.id;
            EXPECT_EQ(selected(list.id), list.selected) << "list " << list.id;
        }
    }

    HWND dialog = nullptr;
};

TEST_F(MainDialogTest, OpensWithFilledListsAndEmptyFields) { expectOpeningState(); }

TEST_F(MainDialogTest, ResetFieldsGivesBackTheOpeningStateWithoutMovingTheFocus)
{
    ShowWindow(dialog, SW_SHOW);
    for (int field : kTextFields)
        SetDlgItemTextA(dialog, field, "12");
    for (const ListState& list : openingLists())
        SendDlgItemMessageA(dialog, list.id, CB_SETCURSEL, 1, 0);
    HWND year = GetDlgItem(dialog, IDC_YEAR);
    SetFocus(year);

    SendMessageA(dialog, WM_COMMAND, IDM_RESET_FIELDS, 0);

    expectOpeningState();
    EXPECT_EQ(GetFocus(), year);
}

TEST_F(MainDialogTest, GoHasTheFocusWhenShown)
{
    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_GO));
    EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDC_GO);
}

TEST_F(MainDialogTest, MenuBarHoldsTheFourCommandsInOrder)
{
    HMENU menu = GetMenu(dialog);
    ASSERT_NE(menu, nullptr);
    const std::vector<std::pair<UINT, std::string>> expected = {
        {IDM_RESET_FIELDS, "Reset Fields"}, {IDM_MAKE_PATCH, "&Make a Patch"}, {IDM_ABOUT, "About"}, {IDM_EXIT, "Exit"}};
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (int item = 0; item < static_cast<int>(expected.size()); ++item) {
        char label[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(item), label, sizeof label, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, item), expected[item].first) << "item " << item;
        EXPECT_EQ(label, expected[item].second) << "item " << item;
        EXPECT_EQ(GetSubMenu(menu, item), nullptr) << "item " << item << " is a command, not a drop-down";
    }
}

TEST_F(MainDialogTest, SmallIconIsTheLettersAndLargeIconTheJersey)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    const auto small = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    const auto large = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_NE(small, large);
    // LoadIcon hands out one shared handle per resource, so the handles name the pictures.
    EXPECT_EQ(small, LoadIconA(module, MAKEINTRESOURCEA(IDI_LETTERS)));
    EXPECT_EQ(large, LoadIconA(module, MAKEINTRESOURCEA(IDI_JERSEY)));
}

INT_PTR CALLBACK plainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

BOOL CALLBACK collectChild(HWND child, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

std::vector<HWND> childrenOfClass(HWND dialog, const std::string& wanted)
{
    std::vector<HWND> children;
    EnumChildWindows(dialog, collectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<HWND> found;
    for (HWND child : children) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, wanted.c_str()) == 0)
            found.push_back(child);
    }
    return found;
}

// The room a label's text takes at the label's own font and width, drawn as a static
// control draws it.
SIZE textExtent(HWND label, const std::string& text, LONG width)
{
    const LONG style = GetWindowLongA(label, GWL_STYLE);
    UINT format = DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX;
    format |= (style & SS_CENTERIMAGE) ? DT_SINGLELINE : DT_WORDBREAK;
    HDC dc = GetDC(label);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &needed, format);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return {needed.right - needed.left, needed.bottom - needed.top};
}

TEST(DialogLayoutTest, EveryLabelHasRoomForItsWholeText)
{
    for (int id : {IDD_MAIN, IDD_ABOUT, IDD_PATCH_INFO}) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, plainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        const std::vector<HWND> labels = childrenOfClass(dialog, "Static");
        EXPECT_FALSE(labels.empty());
        for (HWND label : labels) {
            char text[256] = {};
            GetWindowTextA(label, text, sizeof text);
            RECT room{};
            GetClientRect(label, &room);
            const SIZE needed = textExtent(label, text, room.right);

            EXPECT_LE(needed.cx, room.right) << "dialog " << id << ": \"" << text << "\"";
            EXPECT_LE(needed.cy, room.bottom) << "dialog " << id << ": \"" << text << "\"";
        }
        DestroyWindow(dialog);
    }
}

TEST_F(MainDialogTest, DroppedListsShowAboutTenRowsOrAllOfAShortList)
{
    ShowWindow(dialog, SW_SHOW);
    for (const ListState& list : openingLists()) {
        HWND combo = GetDlgItem(dialog, list.id);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        RECT shown{};
        GetClientRect(info.hwndList, &shown);
        const int rowHeight = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        const int rows = static_cast<int>(list.rows.size());
        const int visible = shown.bottom / rowHeight;
        if (rows <= 10) {
            EXPECT_EQ(visible, rows) << "list " << list.id;
        } else {
            EXPECT_GE(visible, 9) << "list " << list.id;
            EXPECT_LE(visible, 12) << "list " << list.id;
        }
    }
}

}  // namespace
}  // namespace kitloom
