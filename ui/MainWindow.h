#pragma once

#include <windows.h>

extern const char* const MAIN_WINDOW_CLASS;
extern const char* const MAIN_WINDOW_TITLE;

LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the class, creates and shows the main window and runs the message loop
// until it is destroyed; returns the exit code.
int RunMainWindow(HINSTANCE hInstance, int nCmdShow);
