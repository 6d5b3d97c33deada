#include "ui/dialogs/TimeCalcDialog.h"

#include "calc/Calculator.h"
#include "calc/Time.h"
#include "res/resource.h"
#include "ui/DialogFields.h"
#include "ui/dialogs/SelectionPanel.h"

#include <cstdint>
#include <string>

namespace
{

const SelectionPanelIds kPanel = {IDC_TIME_COLONY, IDC_TIME_ADD,      IDC_TIME_ADDALL,
                                  IDC_TIME_REMOVE, IDC_TIME_CLEARALL, IDC_TIME_SELECTED};

void ShowTimeToFinish(HWND hDlg, int id, std::uint32_t seconds)
{
    CTime span;
    span.SetFromSeconds(seconds);
    SetDlgItemTextA(hDlg, id, TimeToString(span).c_str());
}

// An amount already in stock and one that no listed colony produces both read 00:00:00.
void CalculateTimeToFinish(HWND hDlg)
{
    SelectedRates rates = {};
    if (!SumSelectedRates(hDlg, kPanel, rates))
    {
        return;
    }
    const std::uint32_t metalAmount = ReadFieldNumber(hDlg, IDC_TIME_AMOUNT_METAL);
    const std::uint32_t crystalAmount = ReadFieldNumber(hDlg, IDC_TIME_AMOUNT_CRYSTAL);
    const std::uint32_t deuteriumAmount = ReadFieldNumber(hDlg, IDC_TIME_AMOUNT_DEUTERIUM);
    const std::uint32_t metalSupply = ReadFieldNumber(hDlg, IDC_TIME_SUPPLY_METAL);
    const std::uint32_t crystalSupply = ReadFieldNumber(hDlg, IDC_TIME_SUPPLY_CRYSTAL);
    const std::uint32_t deuteriumSupply = ReadFieldNumber(hDlg, IDC_TIME_SUPPLY_DEUTERIUM);

    CCalculator calculator;
    calculator.CalcMetalTime(rates.metal, metalAmount, metalSupply);
    calculator.CalcCrystalTime(rates.crystal, crystalAmount, crystalSupply);
    calculator.CalcDeuteriumTime(rates.deuterium, deuteriumAmount, deuteriumSupply);
    ShowTimeToFinish(hDlg, IDC_TIME_METAL, calculator.GetMetalTime());
    ShowTimeToFinish(hDlg, IDC_TIME_CRYSTAL, calculator.GetCrystalTime());
    ShowTimeToFinish(hDlg, IDC_TIME_DEUTERIUM, calculator.GetDeuteriumTime());
}

// The amounts, the supplies and the three results; the calculation list stays.
void ClearTimeFields(HWND hDlg)
{
    for (int id = IDC_TIME_AMOUNT_METAL; id <= IDC_TIME_DEUTERIUM; ++id)
    {
        SetDlgItemTextA(hDlg, id, "");
    }
}

} // namespace

INT_PTR CALLBACK TimeCalcDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
        case WM_INITDIALOG:
            FillColonyDropDown(hDlg, kPanel);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam))
            {
                case IDC_TIME_CALCULATE:
                    CalculateTimeToFinish(hDlg);
                    return TRUE;
                case IDC_TIME_CLEAR:
                    ClearTimeFields(hDlg);
                    return TRUE;
                case IDOK:
                    EndDialog(hDlg, 1);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(hDlg, 2);
                    return TRUE;
                default:
                    HandleSelectionPanelCommand(hDlg, kPanel, wParam);
                    return TRUE;
            }
        default:
            return FALSE;
    }
}
