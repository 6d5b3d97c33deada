#include "ui/DialogFields.h"

#include "ui/Messages.h"

#include <sstream>

namespace
{

// Every text read this way is a colony's name.
const char* const OUT_OF_MEMORY_TEXT = "Not enough memory to read the colony name!";

} // namespace

bool FieldHasText(HWND dialog, int id)
{
    return GetWindowTextLengthA(GetDlgItem(dialog, id)) > 0;
}

bool ReadThroughBuffer(HWND dialog, std::size_t length, const std::function<void(char*, int)>& copy,
                       std::string& text)
{
    char* buffer = static_cast<char*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(length) + 1));
    if (buffer == nullptr)
    {
        ShowFailure(dialog, OUT_OF_MEMORY_TEXT);
        return false;
    }
    copy(buffer, static_cast<int>(length) + 1);
    text = buffer;
    GlobalFree(buffer);
    return true;
}

bool ReadFieldText(HWND dialog, int id, std::string& text)
{
    const int length = GetWindowTextLengthA(GetDlgItem(dialog, id));
    if (length <= 0)
    {
        text.clear();
        return true;
    }
    return ReadThroughBuffer(
        dialog, static_cast<std::size_t>(length),
        [dialog, id](char* buffer, int size) { GetDlgItemTextA(dialog, id, buffer, size); }, text);
}

std::uint32_t ReadFieldNumber(HWND dialog, int id)
{
    if (!FieldHasText(dialog, id))
    {
        return 0;
    }
    BOOL translated = FALSE;
    return GetDlgItemInt(dialog, id, &translated, FALSE);
}

namespace
{

BOOL CALLBACK LimitNumberField(HWND child, LPARAM)
{
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & ES_NUMBER) != 0)
    {
        SendMessageA(child, EM_LIMITTEXT, MOST_NUMBER_DIGITS, 0);
    }
    return TRUE;
}

} // namespace

void LimitNameField(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, MOST_NAME_BYTES, 0);
}

void LimitNumberFields(HWND dialog)
{
    EnumChildWindows(dialog, LimitNumberField, 0);
}

void ClearFields(HWND dialog, const int* ids, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        SetDlgItemTextA(dialog, ids[i], "");
    }
}

std::string FormatNumber(std::uint32_t value)
{
    std::ostringstream stream;
    stream << value;
    return stream.str();
}
