#include "ui/dialogs/TimeCalcDialog.h"

#include "calc/Calculator.h"
#include "calc/Time.h"
#include "res/resource.h"
#include "ui/DialogFields.h"
#include "ui/dialogs/CalculationDialog.h"

#include <cstdint>
#include <iterator>
#include <string>

namespace
{

void ShowTimeToFinish(HWND hDlg, int id, std::uint32_t seconds)
{
    CTime span;
    span.SetFromSeconds(seconds);
    SetDlgItemTextA(hDlg, id, TimeToString(span).c_str());
}

// An amount already in stock and one that no listed colony produces both read 00:00:00.
void CalculateTimeToFinish(HWND hDlg, const SelectedRates& rates)
{
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

// The amounts, the supplies and the three results.
const int CLEARED_FIELDS[] = {IDC_TIME_AMOUNT_METAL, IDC_TIME_AMOUNT_CRYSTAL, IDC_TIME_AMOUNT_DEUTERIUM,
                              IDC_TIME_SUPPLY_METAL, IDC_TIME_SUPPLY_CRYSTAL, IDC_TIME_SUPPLY_DEUTERIUM,
                              IDC_TIME_METAL,        IDC_TIME_CRYSTAL,        IDC_TIME_DEUTERIUM};

const CalculationDialogParts TIME_DIALOG = {
    {IDC_TIME_COLONY, IDC_TIME_ADD, IDC_TIME_ADDALL, IDC_TIME_REMOVE, IDC_TIME_CLEARALL, IDC_TIME_SELECTED},
    IDC_TIME_CALCULATE,
    IDC_TIME_CLEAR,
    CLEARED_FIELDS,
    std::size(CLEARED_FIELDS),
    CalculateTimeToFinish};

} // namespace

INT_PTR CALLBACK TimeCalcDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    return HandleCalculationDialogMessage(hDlg, message, wParam, TIME_DIALOG);
}
