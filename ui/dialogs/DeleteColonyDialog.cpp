#include "ui/dialogs/DeleteColonyDialog.h"

#include "model/ColonyList.h"
#include "res/resource.h"
#include "ui/DialogFields.h"
#include "ui/Messages.h"
#include "ui/dialogs/DialogCommands.h"

#include <string>

namespace
{

void InitDeleteDialog(HWND hDlg, LPARAM parameter)
{
    if (LOWORD(parameter) == DELETE_CURRENT_MARKER)
    {
        // The Delete button has already put the cursor on the selected colony.
        g_ColonyList.RemoveColony(g_ColonyList.GetCurrent());
        EndDialog(hDlg, 1);
        return;
    }
    LimitNameField(hDlg, IDC_DELETE_NAME);
}

// The colony of exactly the typed name; failing that, the first one whose name shows as the
// typed text, so that a name whose bytes the code page does not read back as they are (loaded
// from a file written elsewhere) can still be deleted by what the lists show.
CNode* FindTypedColony(const std::wstring& typed)
{
    std::string bytes;
    if (NameBytes(typed, bytes))
    {
        if (CNode* colony = g_ColonyList.FindColony(bytes))
        {
            return colony;
        }
    }
    for (CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        if (ShownName(node->GetName()) == typed)
        {
            return node;
        }
    }
    return nullptr;
}

// The messages here have no owner, as the dialog has always shown them.
void DeleteNamedColony(HWND hDlg)
{
    std::wstring name;
    if (!FieldHasText(hDlg, IDC_DELETE_NAME))
    {
        ShowInputError(nullptr, "Please enter name of colony to be deleted!");
    }
    else if (!ReadFieldText(hDlg, IDC_DELETE_NAME, name))
    {
        // The dialog stays open with the typed name; nothing is removed.
        return;
    }

    CNode* colony = FindTypedColony(name);
    if (colony != nullptr)
    {
        g_ColonyList.RemoveColony(colony);
    }
    else
    {
        ShowInputError(nullptr, "Colony with this name doesn't exist. Please, check spelling!");
    }
    EndDialog(hDlg, 1);
}

} // namespace

INT_PTR CALLBACK DeleteColonyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
        case WM_INITDIALOG:
            InitDeleteDialog(hDlg, lParam);
            return TRUE;
        case WM_COMMAND:
            return HandleOkCancelCommand(hDlg, wParam, DeleteNamedColony);
        default:
            return FALSE;
    }
}
