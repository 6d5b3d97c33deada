#include "ui/DialogFields.h"

#include <sstream>

bool FieldHasText(HWND dialog, int id)
{
    return GetWindowTextLengthA(GetDlgItem(dialog, id)) > 0;
}

bool ReadFieldText(HWND dialog, int id, std::string& text)
{
    const int length = GetWindowTextLengthA(GetDlgItem(dialog, id));
    if (length <= 0)
    {
        text.clear();
        return true;
    }
    char* buffer = static_cast<char*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(length) + 1));
    if (buffer == nullptr)
    {
        return false;
    }
    GetDlgItemTextA(dialog, id, buffer, length + 1);
    text = buffer;
    GlobalFree(buffer);
    return true;
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

std::string FormatNumber(std::uint32_t value)
{
    std::ostringstream stream;
    stream << value;
    return stream.str();
}
