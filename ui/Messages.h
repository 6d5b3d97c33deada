#pragma once

#include <windows.h>

// Every message box of the program goes through here; owner may be null.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);
