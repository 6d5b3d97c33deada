#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// True when the control holds at least one character.
bool FieldHasText(HWND dialog, int id);

// Reads the control's whole text through a zero-filled buffer of length + 1 bytes.
// False when that buffer cannot be allocated; text is then left as it was.
bool ReadFieldText(HWND dialog, int id, std::string& text);

// The control's number as the unsigned conversion gives it: text that does not
// convert gives 0. An empty control gives 0 without converting.
std::uint32_t ReadFieldNumber(HWND dialog, int id);

// Plain decimal digits, as every amount of the program is shown.
std::string FormatNumber(std::uint32_t value);
