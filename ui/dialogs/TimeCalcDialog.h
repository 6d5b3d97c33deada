#pragma once

#include <windows.h>

INT_PTR CALLBACK TimeCalcDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
