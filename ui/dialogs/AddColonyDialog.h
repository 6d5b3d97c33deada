#pragma once

#include <windows.h>

INT_PTR CALLBACK AddColonyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
