#include "ui/dialogs/SelectionPanel.h"

#include "model/ColonyList.h"
#include "ui/DialogFields.h"
#include "ui/Messages.h"

#include <string>
#include <utility>

namespace
{

enum class PanelControl
{
    // Not one of the buttons or the calculation list; the drop-down's own notices are
    // among these and need nothing.
    None,
    Add,
    AddAll,
    Remove,
    ClearAll,
    Selected
};

PanelControl ControlOf(const SelectionPanelIds& ids, int id)
{
    const std::pair<int, PanelControl> controls[] = {{ids.add, PanelControl::Add},
                                                     {ids.addAll, PanelControl::AddAll},
                                                     {ids.remove, PanelControl::Remove},
                                                     {ids.clearAll, PanelControl::ClearAll},
                                                     {ids.selected, PanelControl::Selected}};
    for (const auto& control : controls)
    {
        if (control.first == id)
        {
            return control.second;
        }
    }
    return PanelControl::None;
}

// Both searches go from the top and, being the platform's, ignore letter case.
LRESULT FindInCalculationList(HWND hDlg, const SelectionPanelIds& ids, const std::string& name)
{
    return SendDlgItemMessageA(hDlg, ids.selected, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(name.c_str()));
}

// The entry keeps the first colony of that exact name, so a later look-up of the entry
// never depends on letter case.
void AppendEntry(HWND hDlg, const SelectionPanelIds& ids, const std::string& name)
{
    const LRESULT index =
        SendDlgItemMessageA(hDlg, ids.selected, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    // LB_SETITEMDATA with index -1 would overwrite every entry's colony.
    if (index < 0)
    {
        return;
    }
    SendDlgItemMessageA(hDlg, ids.selected, LB_SETITEMDATA, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(g_ColonyList.FindColony(name)));
}

// The drop-down's selected name, read through the field reader's buffer.
// False, after telling the user, when nothing is selected or the text cannot be read.
bool ReadSelectedColony(HWND hDlg, const SelectionPanelIds& ids, const char* noSelectionText,
                        std::string& name)
{
    const LRESULT index = SendDlgItemMessageA(hDlg, ids.colonies, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
    {
        ShowInputError(hDlg, noSelectionText);
        return false;
    }
    const LRESULT length =
        SendDlgItemMessageA(hDlg, ids.colonies, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
    {
        return false;
    }
    return ReadThroughBuffer(
        hDlg, static_cast<std::size_t>(length),
        [hDlg, &ids, index](char* buffer, int)
        {
            SendDlgItemMessageA(hDlg, ids.colonies, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(buffer));
        },
        name);
}

// Choosing an entry makes its colony the drop-down's, so that Remove acts on it.
void FollowListSelection(HWND hDlg, const SelectionPanelIds& ids)
{
    const LRESULT index = SendDlgItemMessageA(hDlg, ids.selected, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
    {
        return;
    }
    const LRESULT data =
        SendDlgItemMessageA(hDlg, ids.selected, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == 0 || data == LB_ERR)
    {
        return;
    }
    const std::string name = reinterpret_cast<const CNode*>(data)->GetName();
    const LRESULT found = SendDlgItemMessageA(hDlg, ids.colonies, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(name.c_str()));
    if (found != CB_ERR)
    {
        SendDlgItemMessageA(hDlg, ids.colonies, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    }
}

void AddSelectedColony(HWND hDlg, const SelectionPanelIds& ids)
{
    std::string name;
    if (!ReadSelectedColony(hDlg, ids, "Please select a colony from the drop-down list !", name))
    {
        return;
    }
    if (FindInCalculationList(hDlg, ids, name) != LB_ERR)
    {
        ShowRefusal(hDlg, "This colony is allready added to the calculation list!");
        return;
    }
    AppendEntry(hDlg, ids, name);
}

void AddAllColonies(HWND hDlg, const SelectionPanelIds& ids)
{
    SendDlgItemMessageA(hDlg, ids.selected, LB_RESETCONTENT, 0, 0);
    for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        AppendEntry(hDlg, ids, node->GetName());
    }
}

void RemoveSelectedColony(HWND hDlg, const SelectionPanelIds& ids)
{
    std::string name;
    if (!ReadSelectedColony(hDlg, ids,
                            "Please select a colony from the drop-down list or select a colony from "
                            "calculation list!",
                            name))
    {
        return;
    }
    const LRESULT index = FindInCalculationList(hDlg, ids, name);
    if (index == LB_ERR)
    {
        ShowInputError(hDlg, "This colony isn't in the calculation colony list.");
        return;
    }
    SendDlgItemMessageA(hDlg, ids.selected, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    // A drop-down list has no edit field and refuses this, so it keeps showing the
    // colony just removed; a second Remove then says it is no longer listed.
    SetDlgItemTextA(hDlg, ids.colonies, "");
}

} // namespace

void FillColonyDropDown(HWND hDlg, const SelectionPanelIds& ids)
{
    for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        const std::string name = node->GetName();
        SendDlgItemMessageA(hDlg, ids.colonies, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendDlgItemMessageA(hDlg, ids.colonies, CB_SETCURSEL, 0, 0);
}

void HandleSelectionPanelCommand(HWND hDlg, const SelectionPanelIds& ids, WPARAM wParam)
{
    switch (ControlOf(ids, LOWORD(wParam)))
    {
        case PanelControl::None:
            break;
        case PanelControl::Add:
            AddSelectedColony(hDlg, ids);
            break;
        case PanelControl::AddAll:
            AddAllColonies(hDlg, ids);
            break;
        case PanelControl::Remove:
            RemoveSelectedColony(hDlg, ids);
            break;
        case PanelControl::ClearAll:
            SendDlgItemMessageA(hDlg, ids.selected, LB_RESETCONTENT, 0, 0);
            break;
        case PanelControl::Selected:
            if (HIWORD(wParam) == LBN_SELCHANGE)
            {
                FollowListSelection(hDlg, ids);
            }
            break;
    }
}

bool SumSelectedRates(HWND hDlg, const SelectionPanelIds& ids, SelectedRates& rates)
{
    const LRESULT count = SendDlgItemMessageA(hDlg, ids.selected, LB_GETCOUNT, 0, 0);
    if (count == 0 || count == LB_ERR)
    {
        ShowInputError(hDlg, "Please add some colonies to the calculation list.");
        return false;
    }
    // Copies of the listed colonies, in the calculation list's order, summed the same way
    // as the whole colony list is.
    CList chosen;
    for (LRESULT index = 0; index < count; ++index)
    {
        const LRESULT data =
            SendDlgItemMessageA(hDlg, ids.selected, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        if (data == 0 || data == LB_ERR)
        {
            continue;
        }
        const CNode* colony = reinterpret_cast<const CNode*>(data);
        chosen.AddColony(colony->GetName(), colony->GetMetal(), colony->GetCrystal(), colony->GetDeuterium());
    }
    rates.metal = chosen.GetTotalMetal();
    rates.crystal = chosen.GetTotalCrystal();
    rates.deuterium = chosen.GetTotalDeuterium();
    return true;
}
