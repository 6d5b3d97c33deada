#include "ui/dialogs/DialogCommands.h"

INT_PTR HandleDoneCommand(HWND hDlg, WPARAM wParam)
{
    switch (LOWORD(wParam))
    {
        case IDOK:
            EndDialog(hDlg, 1);
            return TRUE;
        default:
            return TRUE;
    }
}

INT_PTR HandleOkCancelCommand(HWND hDlg, WPARAM wParam, void (*accept)(HWND hDlg))
{
    switch (LOWORD(wParam))
    {
        case IDOK:
            accept(hDlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, 2);
            return TRUE;
        default:
            return TRUE;
    }
}
