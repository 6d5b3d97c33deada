// A player's session with the shipped program, driven from outside as a user would: add
// colonies, save, close, start again, load, and read both calculations off the dialogs.
#include "exe/ShippedProgram.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using bench::WindowText;

// What the program shows, for a failure message.
std::string Shown(const bench::Program& program)
{
    std::string shown;
    for (HWND window : program.Windows())
    {
        shown += " [" + bench::ClassName(window) + " \"" + bench::WindowText(window) + "\"]";
    }
    return shown;
}

void Type(HWND dialog, int id, const char* text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Click(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool WaitForText(HWND window, const std::string& expected)
{
    return bench::WaitUntil([&] { return WindowText(window) == expected; });
}

bool WaitForLines(HWND dialog, int listId, LRESULT count)
{
    return bench::WaitUntil([&]
                            { return SendMessageA(GetDlgItem(dialog, listId), LB_GETCOUNT, 0, 0) == count; });
}

bool WaitForGone(HWND window)
{
    return bench::WaitUntil([&] { return !IsWindow(window); });
}

void AddColony(bench::Program& program, const char* name, const char* metal, const char* crystal,
               const char* deuterium)
{
    PostMessageA(program.MainWindow(), WM_COMMAND, IDM_ADDCOLONY, 0);
    HWND dialog = program.WaitForDialog("Add colony");
    ASSERT_NE(dialog, nullptr) << "the program shows" << Shown(program);
    Type(dialog, IDC_ADD_NAME, name);
    Type(dialog, IDC_ADD_METAL, metal);
    Type(dialog, IDC_ADD_CRYSTAL, crystal);
    Type(dialog, IDC_ADD_DEUTERIUM, deuterium);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitForGone(dialog)) << "the program shows" << Shown(program);
}

const char* const TOTALS = "M/h : 31000     C/h : 507     D/h : 0";

TEST(PlayerScenario, ColoniesSavedInOneRunAreCalculatedInTheNext)
{
    bench::ScratchFolder folder;
    {
        bench::Program first;
        ASSERT_NE(StartShipped(first, folder.Path()), nullptr);
        AddColony(first, "Alpha", "1000", "500", "0");
        AddColony(first, "Beta", "30000", "7", "0");
        HWND statusBar = GetDlgItem(first.MainWindow(), IDC_STATUSBAR);
        EXPECT_TRUE(WaitForText(statusBar, TOTALS)) << WindowText(statusBar);

        PostMessageA(first.MainWindow(), WM_COMMAND, IDM_SAVEDATA, 0);
        EXPECT_TRUE(bench::WaitUntil(
            [&] {
                return bench::ReadBytes(folder.File("coldata.dat")).value_or(bench::Bytes{}).size() ==
                       2 * 224;
            }))
            << "the program shows" << Shown(first);
        PostMessageA(first.MainWindow(), WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(first.WaitForExit(exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    bench::Program second;
    ASSERT_NE(StartShipped(second, folder.Path()), nullptr);
    HWND statusBar = GetDlgItem(second.MainWindow(), IDC_STATUSBAR);
    EXPECT_EQ(WindowText(statusBar), "Kolvarn's Zerak Resources Calculator standing by ...");
    PostMessageA(second.MainWindow(), WM_COMMAND, IDM_LOADDATA, 0);
    ASSERT_TRUE(WaitForText(statusBar, TOTALS))
        << WindowText(statusBar) << "; the program shows" << Shown(second);

    // What Alpha alone produces in one day.
    PostMessageA(second.MainWindow(), WM_COMMAND, IDM_PRODUCTION, 0);
    HWND production = second.WaitForDialog("Production calculation");
    ASSERT_NE(production, nullptr) << "the program shows" << Shown(second);
    EXPECT_EQ(WindowText(GetDlgItem(production, IDC_PROD_COLONY)), "Alpha");
    Click(production, IDC_PROD_ADD);
    EXPECT_TRUE(WaitForLines(production, IDC_PROD_SELECTED, 1));
    Type(production, IDC_PROD_DAYS, "1");
    Click(production, IDC_PROD_CALCULATE);
    EXPECT_TRUE(WaitForText(GetDlgItem(production, IDC_PROD_METAL), "24000"))
        << "the program shows" << Shown(second);
    EXPECT_EQ(WindowText(GetDlgItem(production, IDC_PROD_CRYSTAL)), "12000");
    EXPECT_EQ(WindowText(GetDlgItem(production, IDC_PROD_DEUTERIUM)), "0");
    Click(production, IDOK);
    ASSERT_TRUE(WaitForGone(production));

    // How long Beta alone needs for 1000000 metal from 12345 in stock and for 100 crystal;
    // it produces no deuterium.
    PostMessageA(second.MainWindow(), WM_COMMAND, IDM_TIME, 0);
    HWND time = second.WaitForDialog("Time calculation");
    ASSERT_NE(time, nullptr) << "the program shows" << Shown(second);
    SendMessageA(GetDlgItem(time, IDC_TIME_COLONY), CB_SETCURSEL, 1, 0);
    EXPECT_EQ(WindowText(GetDlgItem(time, IDC_TIME_COLONY)), "Beta");
    Click(time, IDC_TIME_ADD);
    EXPECT_TRUE(WaitForLines(time, IDC_TIME_SELECTED, 1));
    Type(time, IDC_TIME_AMOUNT_METAL, "1000000");
    Type(time, IDC_TIME_AMOUNT_CRYSTAL, "100");
    Type(time, IDC_TIME_AMOUNT_DEUTERIUM, "10");
    Type(time, IDC_TIME_SUPPLY_METAL, "12345");
    Click(time, IDC_TIME_CALCULATE);
    EXPECT_TRUE(WaitForText(GetDlgItem(time, IDC_TIME_METAL), "1 day 08:55:18"))
        << "the program shows" << Shown(second);
    EXPECT_EQ(WindowText(GetDlgItem(time, IDC_TIME_CRYSTAL)), "14:17:08");
    EXPECT_EQ(WindowText(GetDlgItem(time, IDC_TIME_DEUTERIUM)), "00:00:00");
    Click(time, IDOK);
    ASSERT_TRUE(WaitForGone(time));

    PostMessageA(second.MainWindow(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(bench::ReadBytes(folder.File("coldata.dat")).value_or(bench::Bytes{}).size(), 2u * 224u)
        << "nothing is saved at exit";
}

} // namespace
