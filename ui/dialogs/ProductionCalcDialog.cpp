#include "ui/dialogs/ProductionCalcDialog.h"

#include "calc/Calculator.h"
#include "calc/Time.h"
#include "res/resource.h"
#include "ui/DialogFields.h"
#include "ui/Messages.h"
#include "ui/dialogs/CalculationDialog.h"

#include <cstdint>
#include <iterator>

namespace
{

// One part of the span; false, after telling the user, when it is past its limit.
bool ReadTimePart(HWND hDlg, int id, std::uint32_t limit, const char* refusal, std::uint32_t& value)
{
    value = ReadFieldNumber(hDlg, id);
    if (value > limit)
    {
        ShowInputError(hDlg, refusal);
        return false;
    }
    return true;
}

// Days have no limit: a span past 2^32 seconds wraps, as every amount does. A refusal
// leaves the previous results on screen.
void CalculateProduction(HWND hDlg, const SelectedRates& rates)
{
    const std::uint32_t days = ReadFieldNumber(hDlg, IDC_PROD_DAYS);
    std::uint32_t hours = 0;
    std::uint32_t minutes = 0;
    std::uint32_t seconds = 0;
    if (!ReadTimePart(hDlg, IDC_PROD_HOURS, 23, "Invalid time entry. Hours must be less than or equal to 23.",
                      hours) ||
        !ReadTimePart(hDlg, IDC_PROD_MINUTES, 59,
                      "Invalid time entry. Minutes must be less than or equal to 59.", minutes) ||
        !ReadTimePart(hDlg, IDC_PROD_SECONDS, 59,
                      "Invalid time entry. Seconds must be less than or equal to 59.", seconds))
    {
        return;
    }

    CTime span;
    span.SetDays(days);
    span.SetHours(hours);
    span.SetMinutes(minutes);
    span.SetSeconds(seconds);
    const std::uint32_t total = span.GetTotalSeconds();

    CCalculator calculator;
    calculator.CalcMetalProduction(total, rates.metal);
    calculator.CalcCrystalProduction(total, rates.crystal);
    calculator.CalcDeuteriumProduction(total, rates.deuterium);
    SetDlgItemTextA(hDlg, IDC_PROD_METAL, FormatNumber(calculator.GetMetalProduced()).c_str());
    SetDlgItemTextA(hDlg, IDC_PROD_CRYSTAL, FormatNumber(calculator.GetCrystalProduced()).c_str());
    SetDlgItemTextA(hDlg, IDC_PROD_DEUTERIUM, FormatNumber(calculator.GetDeuteriumProduced()).c_str());
}

// The four time fields and the three results.
const int CLEARED_FIELDS[] = {IDC_PROD_DAYS,  IDC_PROD_HOURS,   IDC_PROD_MINUTES,  IDC_PROD_SECONDS,
                              IDC_PROD_METAL, IDC_PROD_CRYSTAL, IDC_PROD_DEUTERIUM};

const CalculationDialogParts PRODUCTION_DIALOG = {
    {IDC_PROD_COLONY, IDC_PROD_ADD, IDC_PROD_ADDALL, IDC_PROD_REMOVE, IDC_PROD_CLEARALL, IDC_PROD_SELECTED},
    IDC_PROD_CALCULATE,
    IDC_PROD_CLEAR,
    CLEARED_FIELDS,
    std::size(CLEARED_FIELDS),
    CalculateProduction};

} // namespace

INT_PTR CALLBACK ProductionCalcDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    return HandleCalculationDialogMessage(hDlg, message, wParam, PRODUCTION_DIALOG);
}
