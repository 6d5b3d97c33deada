#pragma once

#include <windows.h>

INT_PTR CALLBACK DeleteColonyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog parameter with which the Delete button asks for the cursor colony to be
// removed at once, without showing the dialog.
constexpr LPARAM DELETE_CURRENT_MARKER = 666;
