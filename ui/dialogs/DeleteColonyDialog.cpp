#include "ui/dialogs/DeleteColonyDialog.h"

// Not built yet: the template does not exist, so opening the dialog fails.
INT_PTR CALLBACK DeleteColonyDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
