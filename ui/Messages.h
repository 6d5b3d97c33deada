#pragma once

#include <windows.h>

// Every message box of the program goes through one of these; each kind has its own caption
// and icon, and all of them offer OK alone. The owner may be null.

// Input that cannot be used: "Error" with the exclamation icon.
void ShowInputError(HWND owner, const char* text);

// A request refused although nothing is wrong: "Info" with the information icon.
void ShowRefusal(HWND owner, const char* text);

// Something that could not be created, opened or read: "Error" with the stop icon.
void ShowFailure(HWND owner, const char* text);
