#pragma once

#include <windows.h>

#include <cstdint>

// The "Select colonies" panel that both calculation dialogs open with. Each dialog
// names its own controls; the behaviour is the same in both.
struct SelectionPanelIds
{
    int colonies; // drop-down of every colony
    int add;
    int addAll;
    int remove;
    int clearAll;
    int selected; // the calculation list
};

// Summed hourly rates of the colonies in the calculation list; each sum wraps modulo 2^32.
struct SelectedRates
{
    std::uint32_t metal;
    std::uint32_t crystal;
    std::uint32_t deuterium;
};

// On opening: every colony's name in list order, each line carrying its colony, the first one
// shown.
void FillColonyDropDown(HWND hDlg, const SelectionPanelIds& ids);

// Handles a WM_COMMAND from one of the panel's controls; any other command is left alone.
void HandleSelectionPanelCommand(HWND hDlg, const SelectionPanelIds& ids, WPARAM wParam);

// The first step of Calculate. False, after telling the user, when the calculation list is
// empty; nothing else has been read or changed then.
bool SumSelectedRates(HWND hDlg, const SelectionPanelIds& ids, SelectedRates& rates);
