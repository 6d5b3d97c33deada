#include "ui/dialogs/TimeCalcDialog.h"

// Not built yet: the template does not exist, so opening the dialog fails.
INT_PTR CALLBACK TimeCalcDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
