#include "ui/DialogFields.h"

#include "ui/Messages.h"

#include <limits>
#include <sstream>
#include <utility>

namespace
{

// Every text read this way is a colony's name.
const char* const OUT_OF_MEMORY_TEXT = "Not enough memory to read the colony name!";
const char* const NAME_NOT_KEPT_TEXT =
    "This colony name has characters that the data file cannot keep on this "
    "system. Please use other characters.";
const char* const NAME_TOO_LONG_TEXT =
    "This colony name is too long for the data file, which keeps 200 bytes "
    "of a name (some letters take two). Please use a shorter name.";

template <typename Char>
bool ReadThrough(HWND dialog, std::size_t length, const std::function<void(Char*, int)>& copy,
                 std::basic_string<Char>& text)
{
    Char* buffer = static_cast<Char*>(GlobalAlloc(GPTR, (static_cast<SIZE_T>(length) + 1) * sizeof(Char)));
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

// The full-width digits of East Asian input methods stand for the same amounts.
constexpr wchar_t FULL_WIDTH_ZERO = 0xFF10;
constexpr wchar_t FULL_WIDTH_NINE = 0xFF19;

int DigitValue(wchar_t character)
{
    if (character >= L'0' && character <= L'9')
    {
        return character - L'0';
    }
    if (character >= FULL_WIDTH_ZERO && character <= FULL_WIDTH_NINE)
    {
        return character - FULL_WIDTH_ZERO;
    }
    return -1;
}

std::uint32_t AmountFromText(const std::wstring& text)
{
    std::uint64_t value = 0;
    for (const wchar_t character : text)
    {
        const int digit = DigitValue(character);
        if (digit < 0)
        {
            return 0;
        }
        value = value * 10 + static_cast<std::uint64_t>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max())
        {
            return 0;
        }
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

bool FieldHasText(HWND dialog, int id)
{
    return GetWindowTextLengthA(GetDlgItem(dialog, id)) > 0;
}

bool ReadThroughBuffer(HWND dialog, std::size_t length, const std::function<void(char*, int)>& copy,
                       std::string& text)
{
    return ReadThrough<char>(dialog, length, copy, text);
}

bool ReadFieldText(HWND dialog, int id, std::wstring& text)
{
    const int length = GetWindowTextLengthW(GetDlgItem(dialog, id));
    if (length <= 0)
    {
        text.clear();
        return true;
    }
    return ReadThrough<wchar_t>(
        dialog, static_cast<std::size_t>(length),
        [dialog, id](wchar_t* buffer, int size) { GetDlgItemTextW(dialog, id, buffer, size); }, text);
}

bool NameBytes(const std::wstring& text, std::string& bytes)
{
    if (text.empty())
    {
        bytes.clear();
        return true;
    }
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
    {
        return false;
    }
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &converted[0], size, nullptr, nullptr);
    // A character without a byte of its own comes out as "?" or as a look-alike ("Ł" as "L");
    // reading the bytes back shows either.
    if (ShownName(converted) != text)
    {
        return false;
    }
    bytes = std::move(converted);
    return true;
}

std::wstring ShownName(const std::string& bytes)
{
    if (bytes.empty())
    {
        return std::wstring();
    }
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0)
    {
        return std::wstring();
    }
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, &text[0], size);
    return text;
}

bool ReadColonyName(HWND dialog, int id, std::string& name)
{
    std::wstring typed;
    if (!ReadFieldText(dialog, id, typed))
    {
        return false;
    }
    std::string bytes;
    if (!NameBytes(typed, bytes))
    {
        ShowFailure(dialog, NAME_NOT_KEPT_TEXT);
        return false;
    }
    if (bytes.size() > static_cast<std::size_t>(MOST_NAME_BYTES))
    {
        ShowFailure(dialog, NAME_TOO_LONG_TEXT);
        return false;
    }
    name = std::move(bytes);
    return true;
}

std::uint32_t ReadFieldNumber(HWND dialog, int id)
{
    HWND field = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(field);
    if (length <= 0)
    {
        return 0;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, &text[0], length + 1)));
    return AmountFromText(text);
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
