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

// Reads the control's whole text, as the player sees it, through a zero-filled buffer of
// length + 1 characters. False, after telling the user, when the buffer cannot be allocated;
// text is then left as it was.
bool ReadFieldText(HWND dialog, int id, std::wstring& text);

// A colony name as the player typed it, in the bytes the data file keeps. False, after telling
// the user, when it cannot be read or when the data file could not keep it as typed (a
// character the system's code page lacks, or more bytes than the file keeps); name is then
// left as it was.
bool ReadColonyName(HWND dialog, int id, std::string& name);

// The name's bytes in the system's code page; false when they would not give the same text
// back.
bool NameBytes(const std::wstring& text, std::string& bytes);

// A name as the lists and fields show it: its bytes read in the system's code page.
std::wstring ShownName(const std::string& bytes);

// The amount a number field holds. Only a text of nothing but digits counts (the digits 0 to 9,
// and the full-width ones an input method types), with any number of leading zeros; a value
// above 4294967295 counts as 0, and so does any other text (a sign, a blank, a letter). An
// empty field gives 0.
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
