// A player's session with the shipped program, driven from outside as a user would: add
// colonies, save, close, start again, load, and read both calculations off the dialogs.
#include "exe/ExeDriver.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using exe::AskedText;

// A dialog of the program with this caption, or null at the deadline.
HWND WaitForDialog(const exe::Program& program, const std::string& caption)
{
    HWND found = nullptr;
    exe::WaitUntil(
        [&]
        {
            for (HWND window : program.VisibleWindows())
            {
                if (exe::ClassName(window) == "#32770" && exe::WindowText(window) == caption)
                {
                    found = window;
                    return true;
                }
            }
            return false;
        });
    return found;
}

// What the program shows, for a failure message.
std::string Shown(const exe::Program& program)
{
    std::string shown;
    for (HWND window : program.VisibleWindows())
    {
        shown += " [" + exe::ClassName(window) + " \"" + exe::WindowText(window) + "\"]";
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
    return exe::WaitUntil([&] { return AskedText(window) == expected; });
}

bool WaitForLines(HWND dialog, int listId, LRESULT count)
{
    return exe::WaitUntil([&]
                          { return SendMessageA(GetDlgItem(dialog, listId), LB_GETCOUNT, 0, 0) == count; });
}

bool WaitForGone(HWND window)
{
    return exe::WaitUntil([&] { return !IsWindow(window); });
}

void AddColony(exe::Program& program, const char* name, const char* metal, const char* crystal,
               const char* deuterium)
{
    PostMessageA(program.MainWindow(), WM_COMMAND, IDM_ADDCOLONY, 0);
    HWND dialog = WaitForDialog(program, "Add colony");
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
    exe::ScratchFolder folder;
    {
        exe::Program first;
        ASSERT_TRUE(first.Start(folder.Path()));
        ASSERT_NE(first.WaitForMainWindow(), nullptr);
        AddColony(first, "Alpha", "1000", "500", "0");
        AddColony(first, "Beta", "30000", "7", "0");
        HWND statusBar = GetDlgItem(first.MainWindow(), IDC_STATUSBAR);
        EXPECT_TRUE(WaitForText(statusBar, TOTALS)) << AskedText(statusBar);

        PostMessageA(first.MainWindow(), WM_COMMAND, IDM_SAVEDATA, 0);
        EXPECT_TRUE(
            exe::WaitUntil([&] { return exe::ReadWholeFile(folder.File("coldata.dat")).size() == 2 * 224; }))
            << "the program shows" << Shown(first);
        PostMessageA(first.MainWindow(), WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(first.WaitForExit(exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    exe::Program second;
    ASSERT_TRUE(second.Start(folder.Path()));
    ASSERT_NE(second.WaitForMainWindow(), nullptr);
    HWND statusBar = GetDlgItem(second.MainWindow(), IDC_STATUSBAR);
    EXPECT_EQ(AskedText(statusBar), "Kolvarn's Zerak Resources Calculator standing by ...");
    PostMessageA(second.MainWindow(), WM_COMMAND, IDM_LOADDATA, 0);
    ASSERT_TRUE(WaitForText(statusBar, TOTALS))
        << AskedText(statusBar) << "; the program shows" << Shown(second);

    // What Alpha alone produces in one day.
    PostMessageA(second.MainWindow(), WM_COMMAND, IDM_PRODUCTION, 0);
    HWND production = WaitForDialog(second, "Production calculation");
    ASSERT_NE(production, nullptr) << "the program shows" << Shown(second);
    EXPECT_EQ(AskedText(GetDlgItem(production, IDC_PROD_COLONY)), "Alpha");
    Click(production, IDC_PROD_ADD);
    EXPECT_TRUE(WaitForLines(production, IDC_PROD_SELECTED, 1));
    Type(production, IDC_PROD_DAYS, "1");
    Click(production, IDC_PROD_CALCULATE);
    EXPECT_TRUE(WaitForText(GetDlgItem(production, IDC_PROD_METAL), "24000"))
        << "the program shows" << Shown(second);
    EXPECT_EQ(AskedText(GetDlgItem(production, IDC_PROD_CRYSTAL)), "12000");
    EXPECT_EQ(AskedText(GetDlgItem(production, IDC_PROD_DEUTERIUM)), "0");
    Click(production, IDOK);
    ASSERT_TRUE(WaitForGone(production));

    // How long Beta alone needs for 1000000 metal from 12345 in stock and for 100 crystal;
    // it produces no deuterium.
    PostMessageA(second.MainWindow(), WM_COMMAND, IDM_TIME, 0);
    HWND time = WaitForDialog(second, "Time calculation");
    ASSERT_NE(time, nullptr) << "the program shows" << Shown(second);
    SendMessageA(GetDlgItem(time, IDC_TIME_COLONY), CB_SETCURSEL, 1, 0);
    EXPECT_EQ(AskedText(GetDlgItem(time, IDC_TIME_COLONY)), "Beta");
    Click(time, IDC_TIME_ADD);
    EXPECT_TRUE(WaitForLines(time, IDC_TIME_SELECTED, 1));
    Type(time, IDC_TIME_AMOUNT_METAL, "1000000");
    Type(time, IDC_TIME_AMOUNT_CRYSTAL, "100");
    Type(time, IDC_TIME_AMOUNT_DEUTERIUM, "10");
    Type(time, IDC_TIME_SUPPLY_METAL, "12345");
    Click(time, IDC_TIME_CALCULATE);
    EXPECT_TRUE(WaitForText(GetDlgItem(time, IDC_TIME_METAL), "1 day 08:55:18"))
        << "the program shows" << Shown(second);
    EXPECT_EQ(AskedText(GetDlgItem(time, IDC_TIME_CRYSTAL)), "14:17:08");
    EXPECT_EQ(AskedText(GetDlgItem(time, IDC_TIME_DEUTERIUM)), "00:00:00");
    Click(time, IDOK);
    ASSERT_TRUE(WaitForGone(time));

    PostMessageA(second.MainWindow(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(exe::ReadWholeFile(folder.File("coldata.dat")).size(), 2u * 224u) << "nothing is saved at exit";
}

} // namespace
