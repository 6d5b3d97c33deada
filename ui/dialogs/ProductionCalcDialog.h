#pragma once

#include <windows.h>

INT_PTR CALLBACK ProductionCalcDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
