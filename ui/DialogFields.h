#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// True when the control holds at least one character.
bool FieldHasText(HWND dialog, int id);

// Reads length characters through a zero-filled buffer of length + 1 bytes, into which copy
// writes them (it is given the buffer and its size). False, after telling the user, when the
// buffer cannot be allocated; text is then left as it was.
bool ReadThroughBuffer(HWND dialog, std::size_t length, const std::function<void(char*, int)>& copy,
                       std::string& text);

// Reads the control's whole text through that buffer. False, after telling the user, when
// the buffer cannot be allocated; text is then left as it was.
bool ReadFieldText(HWND dialog, int id, std::string& text);

// The control's number as the unsigned conversion gives it: text that does not
// convert gives 0. An empty control gives 0 without converting.
std::uint32_t ReadFieldNumber(HWND dialog, int id);

// The data file keeps this many bytes of a name: the name edits take no more, typed or
// pasted, so that what is saved is what the player typed.
constexpr int MOST_NAME_BYTES = 200;
// Far above the ten digits of the largest amount and what any number edit shows, so that a
// player sees no difference; it keeps a long paste from freezing the edit while it trims the
// text to its width.
constexpr int MOST_NUMBER_DIGITS = 100;

void LimitNameField(HWND dialog, int id);
// Every digit-only edit of the dialog.
void LimitNumberFields(HWND dialog);

// Empties every control of the list.
void ClearFields(HWND dialog, const int* ids, std::size_t count);
template <std::size_t N> void ClearFields(HWND dialog, const int (&ids)[N])
{
    ClearFields(dialog, ids, N);
}

// Plain decimal digits, as every amount of the program is shown.
std::string FormatNumber(std::uint32_t value);
