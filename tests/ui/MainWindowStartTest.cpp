#include "bench/Layout.h"
#include "bench/Session.h"

#include "model/ColonyList.h"
#include "res/resource.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bench;

namespace
{

const char* const STARTUP_TEXT = "Kolvarn's Zerak Resources Calculator standing by ...";

// Reads the message boxes the program shows one after the other, dismissing each.
std::vector<MessageBoxInfo> TakeMessageBoxes(UiSession& session, std::size_t count)
{
    std::vector<MessageBoxInfo> boxes;
    for (std::size_t i = 0; i < count; ++i)
    {
        MessageBoxInfo box = session.TakeMessageBox();
        if (box.window == nullptr)
        {
            break;
        }
        boxes.push_back(box);
    }
    return boxes;
}

TEST(MainWindowStart, ShowsTheInitialState)
{
    ScratchFolder directory{ScratchFolder::Current::MAKE};
    // Nothing is read at start-up, even with a data file at hand.
    ASSERT_TRUE(WriteColonyFile("coldata.dat", {{"Alpha", 1, 2, 3}}));
    UiSession session;
    HWND window = session.WaitMainWindow();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(WindowText(window), "Kolvarn's Zerak Resources Calculator");
    EXPECT_TRUE(session.NoMessageBox());
    EXPECT_TRUE(g_ColonyList.IsEmpty());
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), STARTUP_TEXT);
    EXPECT_TRUE(ListLines(window, IDC_COLONYLIST).empty());
    EXPECT_EQ(ListSelection(window, IDC_COLONYLIST), LB_ERR);

    for (int command : {IDM_SAVEDATA, IDM_LOADDATA, IDM_EXIT, IDM_ADDCOLONY, IDM_HELP, IDM_ABOUT})
    {
        EXPECT_TRUE(IsMenuItemEnabled(window, command)) << command;
    }
    for (int command : {IDM_MODIFYCOLONY, IDM_DELETECOLONY, IDM_VIEWCOLONIES, IDM_PRODUCTION, IDM_TIME})
    {
        EXPECT_TRUE(IsMenuItemGrayed(window, command)) << command;
    }
    for (int button : {IDC_SAVEBUTTON, IDC_LOADBUTTON, IDC_ADDBUTTON})
    {
        EXPECT_TRUE(IsItemEnabled(window, button)) << button;
    }
    for (int button : {IDC_DELETEBUTTON, IDC_MODIFYBUTTON})
    {
        ASSERT_TRUE(HasItem(window, button)) << button;
        EXPECT_FALSE(IsItemEnabled(window, button)) << button;
    }
    for (int field : {IDC_METALRATE, IDC_CRYSTALRATE, IDC_DEUTERIUMRATE})
    {
        ASSERT_TRUE(HasItem(window, field)) << field;
        EXPECT_EQ(ItemText(window, field), "") << field;
    }
}

TEST(MainWindowStart, PlacesTheChildrenWithTheirStylesAndPictures)
{
    UiSession session;
    HWND window = session.WaitMainWindow();
    ASSERT_NE(window, nullptr);

    struct Child
    {
        int id;
        const char* className;
        DWORD extendedStyle;
        DWORD style;
        RECT place;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Child children[] = {
        {IDC_COLONYLIST, "ListBox", WS_EX_CLIENTEDGE, child | WS_VSCROLL | LBS_NOTIFY, {7, 7, 247, 167}},
        {IDC_SAVEBUTTON, "Button", WS_EX_WINDOWEDGE, child | BS_ICON, {7, 170, 47, 210}},
        {IDC_LOADBUTTON, "Button", WS_EX_WINDOWEDGE, child | BS_ICON, {57, 170, 97, 210}},
        {IDC_ADDBUTTON, "Button", WS_EX_WINDOWEDGE, child | BS_ICON, {107, 170, 147, 210}},
        {IDC_DELETEBUTTON, "Button", WS_EX_WINDOWEDGE, child | BS_ICON | WS_DISABLED, {157, 170, 197, 210}},
        {IDC_MODIFYBUTTON, "Button", WS_EX_WINDOWEDGE, child | BS_ICON | WS_DISABLED, {207, 170, 247, 210}},
        {IDC_METALRATE, "Static", WS_EX_WINDOWEDGE, child | SS_SUNKEN, {255, 30, 425, 50}},
        {IDC_CRYSTALRATE, "Static", WS_EX_WINDOWEDGE, child | SS_SUNKEN, {255, 80, 425, 100}},
        {IDC_DEUTERIUMRATE, "Static", WS_EX_WINDOWEDGE, child | SS_SUNKEN, {255, 130, 425, 150}},
    };
    for (const Child& expected : children)
    {
        SCOPED_TRACE(expected.id);
        HWND control = GetDlgItem(window, expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(ClassName(control).c_str(), expected.className);
        // The list box shows its scroll bar only when its lines need one, and the platform
        // keeps the window edge only on windows with a frame.
        const DWORD shownOnDemand = expected.id == IDC_COLONYLIST ? WS_VSCROLL : 0;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & ~shownOnDemand,
                  expected.style & ~shownOnDemand);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE,
                  expected.extendedStyle & WS_EX_CLIENTEDGE);
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, expected.place.left);
        EXPECT_EQ(place.top, expected.place.top);
        EXPECT_EQ(place.right, expected.place.right);
        if (expected.id == IDC_COLONYLIST)
        {
            EXPECT_TRUE(
                ListBoxHeightFits(place.bottom - place.top, expected.place.bottom - expected.place.top))
                << place.bottom;
        }
        else
        {
            EXPECT_EQ(place.bottom, expected.place.bottom);
        }
    }

    for (int button : {IDC_SAVEBUTTON, IDC_LOADBUTTON, IDC_ADDBUTTON, IDC_DELETEBUTTON, IDC_MODIFYBUTTON})
    {
        EXPECT_NE(SendMessageA(GetDlgItem(window, button), BM_GETIMAGE, IMAGE_ICON, 0), 0) << button;
        EXPECT_EQ(ItemText(window, button), "") << button;
    }

    // The three labels, above their value fields, in creation order after the buttons.
    std::vector<std::string> labels;
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT))
    {
        if (GetDlgCtrlID(control) == -1 && ClassName(control) == "Static")
        {
            labels.push_back(WindowText(control));
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Metal / h :", "Crystal / h :", "Deuterium / h :"}));

    HWND statusBar = GetDlgItem(window, IDC_STATUSBAR);
    ASSERT_NE(statusBar, nullptr);
    RECT client;
    RECT status;
    GetClientRect(window, &client);
    GetWindowRect(statusBar, &status);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&status), 2);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.left, client.left);
    EXPECT_EQ(status.right, client.right);
}

TEST(MainWindowStart, ReportsAFailedClassRegistrationAndEnds)
{
    ScopedWindowClass taken(MAIN_WINDOW_CLASS);
    ASSERT_TRUE(taken.Registered());
    UiSession session;

    const MessageBoxInfo box = session.TakeMessageBox();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Window class registration failed!");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(box.owner, nullptr);

    int exitCode = -1;
    ASSERT_TRUE(session.WaitEnded(exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(session.MainWindow(), nullptr);
}

TEST(MainWindowStart, ReportsAFailedWindowCreationAndEnds)
{
    SessionOptions options;
    options.failCreation = FailClass(MAIN_WINDOW_CLASS);
    UiSession session(options);

    const MessageBoxInfo box = session.TakeMessageBox();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Window creation failed!");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(box.owner, nullptr);

    int exitCode = -1;
    ASSERT_TRUE(session.WaitEnded(exitCode));
    EXPECT_EQ(exitCode, 0);
}

TEST(MainWindowStart, ReportsEveryChildThatCannotBeCreatedInOrder)
{
    SessionOptions options;
    options.failCreation = FailAllChildrenOf(MAIN_WINDOW_CLASS);
    UiSession session(options);

    const std::vector<std::string> expected = {
        "Cannot create a status bar!",
        "Failed to create main colony list!",
        "Failed to create Save colony list button !",
        "Failed to create Load colony list button !",
        "Failed to create Add colony button !",
        "Failed to create Delete colony button !",
        "Failed to create Modify colony button !",
        "Failed to create static control !",
        "Failed to create static control !",
        "Failed to create static control !",
        "Failed to create static control !",
        "Failed to create static control !",
        "Failed to create static control !",
    };
    std::vector<std::string> texts;
    for (const MessageBoxInfo& box : TakeMessageBoxes(session, expected.size()))
    {
        texts.push_back(box.text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONHAND));
        EXPECT_NE(box.owner, nullptr);
        EXPECT_EQ(ClassName(box.owner), MAIN_WINDOW_CLASS);
    }
    EXPECT_EQ(texts, expected);

    // Then an empty main window with its menu, and nothing more to report.
    HWND window = session.WaitMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(session.NoMessageBox());
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
    EXPECT_NE(GetMenu(window), nullptr);
    EXPECT_TRUE(IsMenuItemEnabled(window, IDM_ADDCOLONY));
}

struct ChildFailure
{
    CreateFilter filter;
    const char* text;
    int missingId;
};

// One child at a time: its own message only, and every other child is there.
TEST(MainWindowStart, ReportsASingleFailedChildAndBuildsTheRest)
{
    const ChildFailure cases[] = {
        {FailClass("msctls_statusbar32"), "Cannot create a status bar!", IDC_STATUSBAR},
        {FailChildId(IDC_COLONYLIST), "Failed to create main colony list!", IDC_COLONYLIST},
        {FailChildId(IDC_SAVEBUTTON), "Failed to create Save colony list button !", IDC_SAVEBUTTON},
        {FailChildId(IDC_LOADBUTTON), "Failed to create Load colony list button !", IDC_LOADBUTTON},
        {FailChildId(IDC_ADDBUTTON), "Failed to create Add colony button !", IDC_ADDBUTTON},
        {FailChildId(IDC_DELETEBUTTON), "Failed to create Delete colony button !", IDC_DELETEBUTTON},
        {FailChildId(IDC_MODIFYBUTTON), "Failed to create Modify colony button !", IDC_MODIFYBUTTON},
        {FailChildId(IDC_METALRATE), "Failed to create static control !", IDC_METALRATE},
        {FailChildId(IDC_DEUTERIUMRATE), "Failed to create static control !", IDC_DEUTERIUMRATE},
    };
    const int allIds[] = {IDC_STATUSBAR,   IDC_COLONYLIST,   IDC_SAVEBUTTON,   IDC_LOADBUTTON,
                          IDC_ADDBUTTON,   IDC_DELETEBUTTON, IDC_MODIFYBUTTON, IDC_METALRATE,
                          IDC_CRYSTALRATE, IDC_DEUTERIUMRATE};
    for (const ChildFailure& failure : cases)
    {
        SCOPED_TRACE(failure.text);
        SessionOptions options;
        options.failCreation = failure.filter;
        UiSession session(options);
        const MessageBoxInfo box = session.TakeMessageBox();
        EXPECT_EQ(box.text, failure.text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONHAND));
        HWND window = session.WaitMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(session.NoMessageBox());
        for (int id : allIds)
        {
            EXPECT_EQ(HasItem(window, id), id != failure.missingId) << id;
        }
    }
}

} // namespace
