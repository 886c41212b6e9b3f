#pragma once

#include <windows.h>

namespace kitloom {

// The main dialog (resource 101). Ends only by Exit or closing, with end code 40002.
INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The About box (resource 108), owned by the main dialog; only OK closes it.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

void fillJerseyLists(HWND dialog);
void resetFields(HWND dialog);

}  // namespace kitloom
