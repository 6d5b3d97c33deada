#pragma once

#include "ui/dialogs/SelectionPanel.h"

#include <windows.h>

#include <cstddef>

// What a calculation dialog has of its own: its controls and what Calculate computes and
// shows. Everything else the Production and the Time calculation do alike.
struct CalculationDialogParts
{
    SelectionPanelIds panel;
    int calculateButton;
    int clearButton;
    // What Clear empties: the dialog's entries and results, never its calculation list.
    const int* clearedFields;
    std::size_t clearedFieldCount;
    // The rest of Calculate, given the summed rates of a calculation list that is not empty.
    void (*calculate)(HWND hDlg, const SelectedRates& rates);
};

// The whole of a calculation dialog's procedure: the drop-down filled on opening, the panel's
// buttons, Calculate, Clear, and Done or Enter (result 1) and Escape or the close box (result 2).
INT_PTR HandleCalculationDialogMessage(HWND hDlg, UINT message, WPARAM wParam,
                                       const CalculationDialogParts& parts);
