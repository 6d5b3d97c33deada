#include "ui/dialogs/ViewColoniesDialog.h"

// Not built yet: the template does not exist, so opening the dialog fails.
INT_PTR CALLBACK ViewColoniesDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
