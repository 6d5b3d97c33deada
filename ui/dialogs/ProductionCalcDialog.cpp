#include "ui/dialogs/ProductionCalcDialog.h"

// Not built yet: the template does not exist, so opening the dialog fails.
INT_PTR CALLBACK ProductionCalcDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
