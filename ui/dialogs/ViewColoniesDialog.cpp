#include "ui/dialogs/ViewColoniesDialog.h"

#include "model/ColonyList.h"
#include "res/resource.h"
#include "ui/LineFill.h"
#include "ui/dialogs/DialogCommands.h"

#include <charconv>
#include <cstdint>
#include <sstream>
#include <string>

namespace
{

void AppendNumber(std::string& line, std::uint32_t value)
{
    char digits[10];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, end.ptr);
}

// Built over the previous line, so that a long list costs no stream and few allocations.
void BuildOverviewLine(const CNode& colony, std::string& line)
{
    line = colony.GetName();
    line += " (Metal/h: ";
    AppendNumber(line, colony.GetMetal());
    line += " Crystal/h: ";
    AppendNumber(line, colony.GetCrystal());
    line += " Deuterium/h: ";
    AppendNumber(line, colony.GetDeuterium());
    line += ")";
}

// The daily figure wraps modulo 2^32 like every other amount.
void ShowDailyTotal(HWND hDlg, int id, const char* label, std::uint32_t hourlyTotal)
{
    std::ostringstream text;
    text << label << static_cast<std::uint32_t>(hourlyTotal * 24u);
    SetDlgItemTextA(hDlg, id, text.str().c_str());
}

void FillOverview(HWND hDlg)
{
    {
        CLineFill fill(GetDlgItem(hDlg, IDC_OVERVIEW_LIST), CLineFill::EControl::LIST_BOX,
                       g_ColonyList.GetCount());
        std::string line;
        for (const CNode* colony = g_ColonyList.GetHead(); colony != nullptr; colony = colony->GetNext())
        {
            BuildOverviewLine(*colony, line);
            fill.Add(line.c_str());
        }
    }
    ShowDailyTotal(hDlg, IDC_DAILY_METAL,
                   "Daily production of metal          : ", g_ColonyList.GetTotalMetal());
    ShowDailyTotal(hDlg, IDC_DAILY_CRYSTAL,
                   "Daily production of crystal        : ", g_ColonyList.GetTotalCrystal());
    ShowDailyTotal(hDlg, IDC_DAILY_DEUTERIUM,
                   "Daily production of deuterium   : ", g_ColonyList.GetTotalDeuterium());
}

} // namespace

// Done is the only way out: Escape and the close box are ignored.
INT_PTR CALLBACK ViewColoniesDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
        case WM_INITDIALOG:
            FillOverview(hDlg);
            return TRUE;
        case WM_COMMAND:
            return HandleDoneCommand(hDlg, wParam);
        default:
            return FALSE;
    }
}
