#pragma once

// What the tests of the Add, Modify, Delete and View colony dialogs share: the program on
// its UI thread with its own working folder, colonies brought in as a user would (a data
// file and Load data), the main window read back as a user sees it, and the check of a
// dialog's controls against its layout.

#include "FailingGlobalAlloc.h"
#include "bench/Session.h"
#include "model/ColonyList.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
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

// One control of a dialog as its template gives it; a null text is not compared (the
// dialog replaces it when it opens).
struct ControlLayout
{
    int id;
    const char* className;
    const char* text;
    DWORD style; // beyond WS_CHILD and WS_VISIBLE
    RECT units;  // x, y, width, height in dialog units, as Units writes them
};

struct DialogLayout
{
    const char* caption;
    int width; // dialog units
    int height;
    std::vector<ControlLayout> controls;
};

constexpr DWORD DIALOG_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// A control's place and size written as the template writes them. The dialog maps the
// place and the size each on its own, so they are kept apart here too.
constexpr RECT Units(int x, int y, int width, int height)
{
    return RECT{x, y, width, height};
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

    // The three ways a user gives up a dialog: its Cancel button, Escape with the focus on
    // one of its edits, and the close box. Each must end it with no message and the list as
    // it was; the main window must not have refreshed (the selected colony's rates stay).
    void ExpectEveryWayOfCancellingKeepsAll(const std::function<HWND()>& openAndFill, int edit)
    {
        const Colonies before = ListContent();
        const Lines rates = RateFields();
        for (const char* way : {"Cancel", "Escape", "close box"})
        {
            SCOPED_TRACE(way);
            HWND dialog = openAndFill();
            ASSERT_NE(dialog, nullptr);
            if (way[0] == 'C')
            {
                Click(dialog, IDCANCEL);
            }
            else if (way[0] == 'E')
            {
                Focus(dialog, edit);
                Press(dialog, VK_ESCAPE);
            }
            else
            {
                CloseBox(dialog);
            }
            EXPECT_TRUE(m_session.WaitGone(dialog));
            ExpectNoMessage();
            EXPECT_EQ(ListContent(), before);
            EXPECT_EQ(RateFields(), rates) << "the main window was refreshed";
        }
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

    // Every control in template (and tab) order with its class, text, styles, place and
    // size, and the dialog's caption, styles and client size.
    void ExpectLayout(HWND dialog, const DialogLayout& layout)
    {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(bench::WindowText(dialog), layout.caption);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
        // The platform adds the 3-D look to every dialog of this kind.
        EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK), DIALOG_STYLE) << std::hex << style;

        RECT size = {0, 0, layout.width, layout.height};
        ASSERT_TRUE(MapDialogRect(dialog, &size));
        RECT client = {};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);

        std::size_t index = 0;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT))
        {
            if (index >= layout.controls.size())
            {
                ADD_FAILURE() << "a control beyond the template: " << bench::ClassName(child);
                break;
            }
            const ControlLayout& expected = layout.controls[index++];
            SCOPED_TRACE(::testing::Message() << "control " << index << " (id " << expected.id << ")");
            EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), expected.id);
            EXPECT_EQ(_stricmp(bench::ClassName(child).c_str(), expected.className), 0)
                << bench::ClassName(child);
            if (expected.text != nullptr)
            {
                EXPECT_EQ(bench::WindowText(child), expected.text);
            }
            const bool isEdit = _stricmp(expected.className, "Edit") == 0;
            const bool isList = _stricmp(expected.className, "ListBox") == 0;
            DWORD childStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
            DWORD expectedStyle = WS_CHILD | WS_VISIBLE | expected.style;
            // A bordered edit or list box of a 3-D dialog gets the sunken client edge in
            // place of the flat border.
            const DWORD childExStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
            if ((isEdit || isList) && (childExStyle & WS_EX_CLIENTEDGE) != 0)
            {
                childStyle |= WS_BORDER;
            }
            // A list box shows its scroll bars only while it needs them.
            if (isList)
            {
                childStyle &= ~(WS_VSCROLL | WS_HSCROLL);
                expectedStyle &= ~(WS_VSCROLL | WS_HSCROLL);
            }
            EXPECT_EQ(childStyle, expectedStyle) << std::hex << childStyle;

            RECT place = expected.units;
            MapDialogRect(dialog, &place);
            RECT actual = {};
            GetWindowRect(child, &actual);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, place.left);
            EXPECT_EQ(actual.top, place.top);
            EXPECT_EQ(actual.right - actual.left, place.right) << "width";
            if (isList && (expected.style & LBS_NOINTEGRALHEIGHT) == 0)
            {
                // It shrinks to a whole number of lines, reckoned with room for the
                // horizontal scroll bar it shows only when needed.
                DWORD_PTR lineHeight = 0;
                SendMessageTimeoutA(child, LB_GETITEMHEIGHT, 0, 0, SMTO_NORMAL, 5000, &lineHeight);
                const LONG line = static_cast<LONG>(lineHeight);
                ASSERT_GT(line, 0);
                EXPECT_LE(actual.bottom - actual.top, place.bottom) << "height";
                EXPECT_GT(actual.bottom - actual.top, place.bottom - line - GetSystemMetrics(SM_CYHSCROLL))
                    << "height";
            }
            else
            {
                EXPECT_EQ(actual.bottom - actual.top, place.bottom) << "height";
            }
        }
        EXPECT_EQ(index, layout.controls.size()) << "controls missing";
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
