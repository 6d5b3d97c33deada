#include "ui/dialogs/SelectionPanel.h"

#include "model/ColonyList.h"
#include "ui/DialogFields.h"
#include "ui/LineFill.h"
#include "ui/Messages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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
void AppendEntry(HWND hDlg, const SelectionPanelIds& ids, const std::string& name, const CNode* colony)
{
    const LRESULT index =
        SendDlgItemMessageA(hDlg, ids.selected, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    // LB_SETITEMDATA with index -1 would overwrite every entry's colony.
    if (index < 0)
    {
        return;
    }
    SendDlgItemMessageA(hDlg, ids.selected, LB_SETITEMDATA, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(colony));
}

// The colony the drop-down's selected line stands for, by the line's own data: its text may not
// read back as the colony's bytes (a name the code page does not read as it is), and a look-up
// by that text would find no colony to count. Every entry refers to the first colony of a name.
const CNode* SelectedColony(HWND hDlg, const SelectionPanelIds& ids)
{
    const LRESULT index = SendDlgItemMessageA(hDlg, ids.colonies, CB_GETCURSEL, 0, 0);
    const LRESULT data =
        SendDlgItemMessageA(hDlg, ids.colonies, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (index == CB_ERR || data == CB_ERR || data == 0)
    {
        return nullptr;
    }
    const CNode* line = reinterpret_cast<const CNode*>(data);
    const CNode* first = g_ColonyList.FindColony(line->GetName());
    return first != nullptr ? first : line;
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
    const CNode* colony = SelectedColony(hDlg, ids);
    if (colony != nullptr)
    {
        AppendEntry(hDlg, ids, name, colony);
    }
}

struct SListedColony
{
    std::string name;
    const CNode* first; // the first colony of this exact name, as FindColony finds it
};

// Every colony in list order with the first colony of its name, found in one pass over the
// list, so that a long list costs no walk from the head per colony.
std::vector<SListedColony> ListWithFirstOfName()
{
    std::vector<SListedColony> colonies;
    colonies.reserve(g_ColonyList.GetCount());
    std::unordered_map<std::string_view, const CNode*> firstOfName;
    firstOfName.reserve(g_ColonyList.GetCount());
    for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        colonies.push_back({node->GetName(), node});
        SListedColony& colony = colonies.back();
        // The key views the name kept in the vector, which the reservation never moves.
        colony.first = firstOfName.emplace(colony.name, node).first->second;
    }
    return colonies;
}

void AddAllColonies(HWND hDlg, const SelectionPanelIds& ids)
{
    const std::vector<SListedColony> colonies = ListWithFirstOfName();
    CLineFill fill(GetDlgItem(hDlg, ids.selected), CLineFill::EControl::LIST_BOX,
                   static_cast<std::uint32_t>(colonies.size()));
    fill.Clear();
    for (const SListedColony& colony : colonies)
    {
        // A line the list box has no room for is left out, and so is its colony.
        fill.Add(colony.name.c_str(), reinterpret_cast<LPARAM>(colony.first));
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
    {
        CLineFill fill(GetDlgItem(hDlg, ids.colonies), CLineFill::EControl::COMBO_BOX,
                       g_ColonyList.GetCount());
        for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
        {
            fill.Add(node->GetName().c_str(), reinterpret_cast<LPARAM>(node));
        }
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
    // Summed as the whole colony list is, wrapping modulo 2^32, straight from the colonies.
    // The list box is looked up once: under Wine each look-up of a dialog's control asks the
    // window server, many times the cost of reading a line's data.
    HWND selected = GetDlgItem(hDlg, ids.selected);
    rates = {0, 0, 0};
    for (LRESULT index = 0; index < count; ++index)
    {
        const LRESULT data = SendMessageA(selected, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        if (data == 0 || data == LB_ERR)
        {
            continue;
        }
        const CNode* colony = reinterpret_cast<const CNode*>(data);
        rates.metal += colony->GetMetal();
        rates.crystal += colony->GetCrystal();
        rates.deuterium += colony->GetDeuterium();
    }
    return true;
}
