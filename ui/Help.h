#pragma once

#include <windows.h>

// Help, Help: the help file in the WinHelp viewer wherever one exists (Wine, Windows before
// 10); on Windows 10 and later, which ship none, the same help as a web page in the browser.
void ShowHelp(HWND owner);
