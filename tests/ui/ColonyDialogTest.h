#pragma once

// What the tests of the colony dialogs and the tables of every dialog share: the program on
// its UI thread with its own working folder, colonies brought in as a user would (a data
// file and Load data), the user's actions, and the main window read back as a user sees it.

#include "FailingGlobalAlloc.h"
#include "bench/Session.h"
#include "model/ColonyList.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

struct Colony
{
    std::string name;
    std::uint32_t metal;
    std::uint32_t crystal;
    std::uint32_t deuterium;

    bool operator==(const Colony& other) const
    {
        return name == other.name && metal == other.metal && crystal == other.crystal &&
               deuterium == other.deuterium;
    }
};
using Colonies = std::vector<Colony>;

inline void PrintTo(const Colony& colony, std::ostream* out)
{
    *out << "{\"" << colony.name << "\", " << colony.metal << ", " << colony.crystal << ", "
         << colony.deuterium << "}";
}

// "enabled", "greyed" or, when the items of one group disagree, "mixed".
enum class Commands
{
    Enabled,
    Greyed,
    Mixed
};

inline void PrintTo(Commands commands, std::ostream* out)
{
    *out << (commands == Commands::Enabled ? "enabled" : commands == Commands::Greyed ? "greyed" : "mixed");
}

inline std::string TotalsLine(std::uint32_t metal, std::uint32_t crystal, std::uint32_t deuterium)
{
    return "M/h : " + std::to_string(metal) + "     C/h : " + std::to_string(crystal) +
           "     D/h : " + std::to_string(deuterium);
}

inline const char* const STANDING_BY = "Kolvarn's Zerak Resources Calculator standing by ...";

class ColonyDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_main = m_session.WaitMainWindow();
        ASSERT_NE(m_main, nullptr) << "the main window did not come up";
        ASSERT_TRUE(m_session.Sync());
    }

    // The colonies through a data file and File, Load data, as a returning user has them.
    void Load(const Colonies& colonies)
    {
        std::vector<bench::ColonyRecord> records;
        for (const Colony& colony : colonies)
        {
            records.push_back({colony.name, colony.metal, colony.crystal, colony.deuterium});
        }
        ASSERT_TRUE(bench::WriteColonyFile("coldata.dat", records));
        ASSERT_TRUE(m_session.ChooseMenu(IDM_LOADDATA));
        ASSERT_TRUE(m_session.Sync());
        ExpectNoMessage();
        ASSERT_EQ(ListContent(), colonies);
    }

    // Opens a dialog through a menu item a user can choose.
    HWND Open(int command, const char* caption)
    {
        if (!m_session.ChooseMenu(command))
        {
            ADD_FAILURE() << "menu item " << command << " is greyed";
            return nullptr;
        }
        HWND dialog = m_session.WaitDialog(caption);
        EXPECT_NE(dialog, nullptr) << caption << " did not open";
        return dialog;
    }

    void SelectColonyLine(int index)
    {
        ASSERT_TRUE(m_session.SelectLine(m_main, IDC_COLONYLIST, index));
        ASSERT_TRUE(m_session.Sync());
    }

    // Clicks and waits until the click has been handled, message boxes included.
    void Click(HWND window, int id)
    {
        ASSERT_TRUE(m_session.Click(window, id)) << "control " << id << " cannot be clicked";
        ASSERT_TRUE(m_session.Sync());
    }

    void Type(HWND dialog, int id, const std::string& text)
    {
        m_session.Type(dialog, id, text);
        ASSERT_TRUE(m_session.Sync());
    }

    void Paste(HWND dialog, int id, const std::string& text)
    {
        m_session.SetText(dialog, id, text);
        ASSERT_TRUE(m_session.Sync());
    }
    void Paste(HWND dialog, int id, const std::wstring& text)
    {
        m_session.SetText(dialog, id, text);
        ASSERT_TRUE(m_session.Sync());
    }

    // Puts the focus on a control, as a click into it or the Tab key would.
    void Focus(HWND dialog, int id)
    {
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
        ASSERT_TRUE(m_session.Sync());
        ExpectFocusOn(dialog, id);
    }

    void Press(HWND window, UINT key)
    {
        m_session.PressKey(window, key);
        ASSERT_TRUE(m_session.Sync());
    }

    void CloseBox(HWND window)
    {
        m_session.CloseBox(window);
        ASSERT_TRUE(m_session.Sync());
    }

    HWND FocusedControl() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(m_session.ThreadId(), &info) ? info.hwndFocus : nullptr;
    }

    // The dialog takes the focus only once it has been activated, which Wine may do a moment
    // after the dialog shows: waits for the control to have it, else fails naming who has.
    void ExpectFocusOn(HWND dialog, int id) const
    {
        const HWND expected = GetDlgItem(dialog, id);
        HWND focused = nullptr;
        bench::WaitUntil(
            [&]
            {
                focused = FocusedControl();
                return focused == expected;
            });
        EXPECT_EQ(focused, expected);
    }

    // True when the dialog is still on screen once every pending action has been handled.
    bool StaysOpen(HWND dialog) { return m_session.Sync() && IsWindow(dialog) && IsWindowVisible(dialog); }

    void ExpectMessages(const std::vector<bench::ExpectedMessage>& messages)
    {
        bench::ExpectMessages(m_session, messages);
    }
    void ExpectMessage(HWND owner, const char* caption, const char* text, UINT icon)
    {
        bench::ExpectMessages(m_session, {{owner, caption, text, icon}});
    }
    void ExpectNoMessage() { bench::ExpectNoMessage(m_session); }

    // The program's list itself, read while its thread waits for input.
    Colonies ListContent()
    {
        EXPECT_TRUE(m_session.Sync());
        Colonies colonies;
        for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
        {
            colonies.push_back({node->GetName(), node->GetMetal(), node->GetCrystal(), node->GetDeuterium()});
        }
        return colonies;
    }

    std::string CursorName()
    {
        EXPECT_TRUE(m_session.Sync());
        const CNode* current = g_ColonyList.GetCurrent();
        return current == nullptr ? "(none)" : current->GetName();
    }

    Commands ListCommands() const
    {
        const bool menus[] = {bench::IsMenuItemEnabled(m_main, IDM_MODIFYCOLONY),
                              bench::IsMenuItemEnabled(m_main, IDM_DELETECOLONY),
                              bench::IsMenuItemEnabled(m_main, IDM_VIEWCOLONIES),
                              bench::IsMenuItemEnabled(m_main, IDM_PRODUCTION),
                              bench::IsMenuItemEnabled(m_main, IDM_TIME)};
        const bool buttons[] = {bench::IsItemEnabled(m_main, IDC_DELETEBUTTON),
                                bench::IsItemEnabled(m_main, IDC_MODIFYBUTTON)};
        return Agreement(menus, buttons);
    }

    Commands AddCommands() const
    {
        const bool menus[] = {bench::IsMenuItemEnabled(m_main, IDM_ADDCOLONY)};
        const bool buttons[] = {bench::IsItemEnabled(m_main, IDC_ADDBUTTON)};
        return Agreement(menus, buttons);
    }

    Lines MainLines() const { return bench::ListLines(m_main, IDC_COLONYLIST); }
    std::string StatusText() const { return bench::ItemText(m_main, IDC_STATUSBAR); }
    Lines RateFields() const
    {
        return {bench::ItemText(m_main, IDC_METALRATE), bench::ItemText(m_main, IDC_CRYSTALRATE),
                bench::ItemText(m_main, IDC_DEUTERIUMRATE)};
    }

    // The main window after a change of the list: every line, the totals, value fields
    // emptied, and both command groups.
    void ExpectMainRefreshed(const Colonies& colonies, Commands list, Commands add)
    {
        ASSERT_TRUE(m_session.Sync());
        Lines names;
        std::uint32_t metal = 0;
        std::uint32_t crystal = 0;
        std::uint32_t deuterium = 0;
        for (const Colony& colony : colonies)
        {
            names.push_back(colony.name);
            metal += colony.metal;
            crystal += colony.crystal;
            deuterium += colony.deuterium;
        }
        EXPECT_EQ(ListContent(), colonies);
        EXPECT_EQ(MainLines(), names);
        EXPECT_EQ(bench::ListSelection(m_main, IDC_COLONYLIST), -1);
        EXPECT_EQ(StatusText(), TotalsLine(metal, crystal, deuterium));
        EXPECT_EQ(RateFields(), Lines({"", "", ""}));
        EXPECT_EQ(ListCommands(), list);
        EXPECT_EQ(AddCommands(), add);
    }

    bench::ScratchFolder m_folder{bench::ScratchFolder::Current::MAKE};
    bench::UiSession m_session;
    HWND m_main = nullptr;

private:
    template <std::size_t M, std::size_t B>
    static Commands Agreement(const bool (&menus)[M], const bool (&buttons)[B])
    {
        std::size_t enabled = 0;
        for (bool on : menus)
        {
            enabled += on ? 1 : 0;
        }
        for (bool on : buttons)
        {
            enabled += on ? 1 : 0;
        }
        return enabled == M + B ? Commands::Enabled : enabled == 0 ? Commands::Greyed : Commands::Mixed;
    }
};
