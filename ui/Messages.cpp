#include "ui/Messages.h"

#include "storage/ColonyFile.h"

int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    return MessageBoxA(owner, text, caption, flags);
}

void ReportFileError(const char* text)
{
    ShowMessage(nullptr, text, "Error", MB_OK | MB_ICONHAND);
}
