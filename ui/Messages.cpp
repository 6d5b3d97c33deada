#include "ui/Messages.h"

#include "storage/ColonyFile.h"

void ShowInputError(HWND owner, const char* text)
{
    MessageBoxA(owner, text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

void ShowRefusal(HWND owner, const char* text)
{
    MessageBoxA(owner, text, "Info", MB_OK | MB_ICONINFORMATION);
}

void ShowFailure(HWND owner, const char* text)
{
    MessageBoxA(owner, text, "Error", MB_OK | MB_ICONHAND);
}

// The data file's failures have no owner: storage knows nothing of windows.
void ReportFileError(const char* text)
{
    ShowFailure(nullptr, text);
}
