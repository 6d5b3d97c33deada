#include "ui/dialogs/AboutDialog.h"

// Not built yet: the template does not exist, so opening the dialog fails.
INT_PTR CALLBACK AboutDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
