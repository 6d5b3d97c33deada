#include "ui/dialogs/ModifyColonyDialog.h"

#include "model/ColonyList.h"
#include "res/resource.h"
#include "ui/DialogFields.h"
#include "ui/dialogs/DialogCommands.h"

#include <string>

namespace
{

const int NEW_VALUE_FIELDS[] = {IDC_NEW_NAME, IDC_NEW_METAL, IDC_NEW_CRYSTAL, IDC_NEW_DEUTERIUM};

// The left column always shows the list's cursor colony; the edits are emptied on every change
// of colony so that nothing typed for one colony is applied to another.
void ShowCurrentColony(HWND hDlg, bool clearEdits)
{
    const CNode* current = g_ColonyList.GetCurrent();
    if (current == nullptr)
    {
        return;
    }
    SetDlgItemTextA(hDlg, IDC_CURRENT_NAME, current->GetName().c_str());
    SetDlgItemTextA(hDlg, IDC_CURRENT_METAL, FormatNumber(current->GetMetal()).c_str());
    SetDlgItemTextA(hDlg, IDC_CURRENT_CRYSTAL, FormatNumber(current->GetCrystal()).c_str());
    SetDlgItemTextA(hDlg, IDC_CURRENT_DEUTERIUM, FormatNumber(current->GetDeuterium()).c_str());
    if (clearEdits)
    {
        ClearFields(hDlg, NEW_VALUE_FIELDS);
    }
}

void InitModifyDialog(HWND hDlg)
{
    LimitNameField(hDlg, IDC_NEW_NAME);
    LimitNumberFields(hDlg);
    // Reachable only if the main window offers the command on an empty list; there is no
    // colony to show or change, so the dialog ends before it is seen.
    if (g_ColonyList.GetCurrent() == nullptr)
    {
        EndDialog(hDlg, 1);
        return;
    }
    ShowCurrentColony(hDlg, false);
}

// Each filled edit replaces its value on its own; an empty edit keeps the old value.
void ApplyTypedValues(HWND hDlg)
{
    if (FieldHasText(hDlg, IDC_NEW_NAME))
    {
        std::string name;
        if (!ReadColonyName(hDlg, IDC_NEW_NAME, name))
        {
            // The name comes first, so nothing has been changed yet and the typed values stay.
            return;
        }
        g_ColonyList.SetCurrentName(name);
    }
    if (FieldHasText(hDlg, IDC_NEW_METAL))
    {
        g_ColonyList.SetCurrentMetal(ReadFieldNumber(hDlg, IDC_NEW_METAL));
    }
    if (FieldHasText(hDlg, IDC_NEW_CRYSTAL))
    {
        g_ColonyList.SetCurrentCrystal(ReadFieldNumber(hDlg, IDC_NEW_CRYSTAL));
    }
    if (FieldHasText(hDlg, IDC_NEW_DEUTERIUM))
    {
        g_ColonyList.SetCurrentDeuterium(ReadFieldNumber(hDlg, IDC_NEW_DEUTERIUM));
    }
    ShowCurrentColony(hDlg, true);
}

} // namespace

// Done is the only way out: Escape and the close box are ignored.
INT_PTR CALLBACK ModifyColonyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
        case WM_INITDIALOG:
            InitModifyDialog(hDlg);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam))
            {
                case IDC_PREVIOUS:
                    g_ColonyList.MovePrev();
                    ShowCurrentColony(hDlg, true);
                    return TRUE;
                case IDC_NEXT:
                    g_ColonyList.MoveNext();
                    ShowCurrentColony(hDlg, true);
                    return TRUE;
                case IDC_APPLY:
                    ApplyTypedValues(hDlg);
                    return TRUE;
                default:
                    return HandleDoneCommand(hDlg, wParam);
            }
        default:
            return FALSE;
    }
}
