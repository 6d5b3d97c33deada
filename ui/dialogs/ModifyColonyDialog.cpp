#include "ui/dialogs/ModifyColonyDialog.h"

// Not built yet: the template does not exist, so opening the dialog fails.
INT_PTR CALLBACK ModifyColonyDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
