#include "ui/dialogs/AddColonyDialog.h"

#include "model/ColonyList.h"
#include "res/resource.h"
#include "ui/DialogFields.h"
#include "ui/Messages.h"
#include "ui/dialogs/DialogCommands.h"

#include <cstdint>
#include <string>

namespace
{

// Every field is read before anything is decided, so one message covers all that is missing.
void AcceptNewColony(HWND hDlg)
{
    std::string name;
    const bool nameMissing = !FieldHasText(hDlg, IDC_ADD_NAME);
    if (!nameMissing && !ReadColonyName(hDlg, IDC_ADD_NAME, name))
    {
        // The dialog stays open with everything the user typed, so nothing is lost.
        return;
    }
    const bool metalMissing = !FieldHasText(hDlg, IDC_ADD_METAL);
    const std::uint32_t metal = ReadFieldNumber(hDlg, IDC_ADD_METAL);
    const bool crystalMissing = !FieldHasText(hDlg, IDC_ADD_CRYSTAL);
    const std::uint32_t crystal = ReadFieldNumber(hDlg, IDC_ADD_CRYSTAL);
    const bool deuteriumMissing = !FieldHasText(hDlg, IDC_ADD_DEUTERIUM);
    const std::uint32_t deuterium = ReadFieldNumber(hDlg, IDC_ADD_DEUTERIUM);

    if (nameMissing || metalMissing || crystalMissing || deuteriumMissing)
    {
        ShowInputError(hDlg, "Colony data is missing! Please enter all colony data.");
        EndDialog(hDlg, 2);
        return;
    }
    if (g_ColonyList.FindColony(name) != nullptr)
    {
        ShowRefusal(hDlg, "Colony with this name allready exists.");
        EndDialog(hDlg, 2);
        return;
    }
    g_ColonyList.AddColony(name, metal, crystal, deuterium);
    EndDialog(hDlg, 1);
}

} // namespace

// The dialog starts with four empty edits, limited in length; the focus is left to the
// platform, as it always was.
INT_PTR CALLBACK AddColonyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
        case WM_INITDIALOG:
            LimitNameField(hDlg, IDC_ADD_NAME);
            LimitNumberFields(hDlg);
            return FALSE;
        case WM_COMMAND:
            return HandleOkCancelCommand(hDlg, wParam, AcceptNewColony);
        default:
            return FALSE;
    }
}
