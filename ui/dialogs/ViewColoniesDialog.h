#pragma once

#include <windows.h>

INT_PTR CALLBACK ViewColoniesDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
