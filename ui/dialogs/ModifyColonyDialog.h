#pragma once

#include <windows.h>

INT_PTR CALLBACK ModifyColonyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
