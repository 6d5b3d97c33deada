#include "ui/dialogs/AddColonyDialog.h"

// Not built yet: the template does not exist, so opening the dialog fails.
INT_PTR CALLBACK AddColonyDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
