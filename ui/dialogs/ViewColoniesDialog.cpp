#include "ui/dialogs/ViewColoniesDialog.h"

#include "model/ColonyList.h"
#include "res/resource.h"
#include "ui/dialogs/DialogCommands.h"

#include <cstdint>
#include <sstream>
#include <string>

namespace
{

std::string OverviewLine(const CNode& colony)
{
    std::ostringstream line;
    line << colony.GetName() << " (Metal/h: " << colony.GetMetal() << " Crystal/h: " << colony.GetCrystal()
         << " Deuterium/h: " << colony.GetDeuterium() << ")";
    return line.str();
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
    for (const CNode* colony = g_ColonyList.GetHead(); colony != nullptr; colony = colony->GetNext())
    {
        const std::string line = OverviewLine(*colony);
        SendDlgItemMessageA(hDlg, IDC_OVERVIEW_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
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
