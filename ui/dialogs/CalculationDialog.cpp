#include "ui/dialogs/CalculationDialog.h"

#include "ui/DialogFields.h"

namespace
{

enum class DialogCommand
{
    Calculate,
    Clear,
    Done,
    Cancel,
    // The panel's buttons and list; the other controls' notices are among these and need nothing.
    Panel
};

DialogCommand CommandOf(const CalculationDialogParts& parts, int id)
{
    if (id == parts.calculateButton)
    {
        return DialogCommand::Calculate;
    }
    if (id == parts.clearButton)
    {
        return DialogCommand::Clear;
    }
    if (id == IDOK)
    {
        return DialogCommand::Done;
    }
    if (id == IDCANCEL)
    {
        return DialogCommand::Cancel;
    }
    return DialogCommand::Panel;
}

void Calculate(HWND hDlg, const CalculationDialogParts& parts)
{
    SelectedRates rates = {};
    if (SumSelectedRates(hDlg, parts.panel, rates))
    {
        parts.calculate(hDlg, rates);
    }
}

} // namespace

INT_PTR HandleCalculationDialogMessage(HWND hDlg, UINT message, WPARAM wParam,
                                       const CalculationDialogParts& parts)
{
    switch (message)
    {
        case WM_INITDIALOG:
            LimitNumberFields(hDlg);
            FillColonyDropDown(hDlg, parts.panel);
            return TRUE;
        case WM_COMMAND:
            switch (CommandOf(parts, LOWORD(wParam)))
            {
                case DialogCommand::Calculate:
                    Calculate(hDlg, parts);
                    return TRUE;
                case DialogCommand::Clear:
                    ClearFields(hDlg, parts.clearedFields, parts.clearedFieldCount);
                    return TRUE;
                case DialogCommand::Done:
                    EndDialog(hDlg, 1);
                    return TRUE;
                case DialogCommand::Cancel:
                    EndDialog(hDlg, 2);
                    return TRUE;
                case DialogCommand::Panel:
                    HandleSelectionPanelCommand(hDlg, parts.panel, wParam);
                    return TRUE;
            }
            return TRUE;
        default:
            return FALSE;
    }
}
