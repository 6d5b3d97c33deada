#include "bench/Session.h"

#include "model/ColonyList.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace bench;

namespace
{

using Lines = std::vector<std::string>;

const std::vector<ColonyRecord> THREE_COLONIES = {
    {"Velquin Prime", 1500, 800, 300},
    {"Ashgar", 1000, 600, 0},
    {"Tor Hollow", 0, 4294967295u, 7},
};
const char* const THREE_COLONIES_TOTALS = "M/h : 2500     C/h : 1399     D/h : 307";

std::vector<ColonyRecord> NumberedColonies(int count)
{
    std::vector<ColonyRecord> colonies;
    for (int i = 1; i <= count; ++i)
    {
        const auto n = static_cast<std::uint32_t>(i);
        colonies.push_back({"Colony " + std::to_string(i), n * 100, n * 10, n});
    }
    return colonies;
}

Lines NamesOf(const std::vector<ColonyRecord>& colonies)
{
    Lines names;
    for (const ColonyRecord& colony : colonies)
    {
        names.push_back(colony.name);
    }
    return names;
}

// Dialogs of the program on screen (message boxes are dialogs too).
std::size_t OpenDialogs(const UiSession& session)
{
    std::size_t count = 0;
    for (HWND window : session.TopLevelWindows())
    {
        count += ClassName(window) == "#32770" ? 1 : 0;
    }
    return count;
}

class MainWindowCommands : public ::testing::Test
{
protected:
    void Start(SessionOptions options = {})
    {
        session = std::make_unique<UiSession>(std::move(options));
        window = session->WaitMainWindow();
        ASSERT_NE(window, nullptr);
    }

    void SetUp() override { Start(); }

    // File, Load data of a coldata.dat holding these colonies; no message is expected.
    void Load(const std::vector<ColonyRecord>& colonies, int command = IDM_LOADDATA)
    {
        ASSERT_TRUE(WriteColonyFile("coldata.dat", colonies));
        if (command == IDM_LOADDATA)
        {
            ASSERT_TRUE(session->ChooseMenu(command));
        }
        else
        {
            ASSERT_TRUE(session->Click(window, command));
        }
        ASSERT_TRUE(session->NoMessageBox());
    }

    void ExpectListCommands(bool enabled)
    {
        for (int command : {IDM_MODIFYCOLONY, IDM_DELETECOLONY, IDM_VIEWCOLONIES, IDM_PRODUCTION, IDM_TIME})
        {
            EXPECT_EQ(IsMenuItemEnabled(window, command), enabled) << command;
            EXPECT_EQ(IsMenuItemGrayed(window, command), !enabled) << command;
        }
        EXPECT_EQ(IsItemEnabled(window, IDC_DELETEBUTTON), enabled);
        EXPECT_EQ(IsItemEnabled(window, IDC_MODIFYBUTTON), enabled);
    }

    void ExpectAddCommands(bool enabled)
    {
        EXPECT_EQ(IsMenuItemEnabled(window, IDM_ADDCOLONY), enabled);
        EXPECT_EQ(IsMenuItemGrayed(window, IDM_ADDCOLONY), !enabled);
        EXPECT_EQ(IsItemEnabled(window, IDC_ADDBUTTON), enabled);
    }

    Lines RateFields() const
    {
        return {ItemText(window, IDC_METALRATE), ItemText(window, IDC_CRYSTALRATE),
                ItemText(window, IDC_DEUTERIUMRATE)};
    }

    ScratchFolder directory{ScratchFolder::Current::MAKE};
    std::unique_ptr<UiSession> session;
    HWND window = nullptr;
};

TEST_F(MainWindowCommands, LoadFromMenuAndButtonListsTheColoniesInFileOrderWithTheirTotals)
{
    for (int command : {IDM_LOADDATA, IDC_LOADBUTTON})
    {
        SCOPED_TRACE(command);
        Load(THREE_COLONIES, command);
        EXPECT_EQ(ListLines(window, IDC_COLONYLIST), NamesOf(THREE_COLONIES));
        EXPECT_EQ(ListSelection(window, IDC_COLONYLIST), LB_ERR);
        EXPECT_EQ(ItemText(window, IDC_STATUSBAR), THREE_COLONIES_TOTALS);
        EXPECT_EQ(RateFields(), (Lines{"", "", ""}));
        ExpectListCommands(true);
        ExpectAddCommands(true);

        // Loading again replaces the lines rather than adding to them.
        Load({{"Solo", 5, 6, 7}}, command);
        EXPECT_EQ(ListLines(window, IDC_COLONYLIST), (Lines{"Solo"}));
        EXPECT_EQ(ItemText(window, IDC_STATUSBAR), "M/h : 5     C/h : 6     D/h : 7");
    }
}

TEST_F(MainWindowCommands, SelectingALineShowsItsRatesUntilTheNextRefresh)
{
    Load(THREE_COLONIES);
    const struct
    {
        int line;
        Lines rates;
    } selections[] = {
        {1, {"1000", "600", "0"}},
        {2, {"0", "4294967295", "7"}},
        {0, {"1500", "800", "300"}},
    };
    for (const auto& selection : selections)
    {
        ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, selection.line));
        ASSERT_TRUE(WaitUntil([&] { return RateFields() == selection.rates; })) << selection.line;
        EXPECT_EQ(ItemText(window, IDC_STATUSBAR), THREE_COLONIES_TOTALS);
    }
    // A selection change that leaves no line selected keeps what is shown.
    ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, -1));
    ASSERT_TRUE(session->Sync());
    EXPECT_EQ(RateFields(), (Lines{"1500", "800", "300"}));

    Load(THREE_COLONIES);
    EXPECT_EQ(RateFields(), (Lines{"", "", ""}));
}

TEST_F(MainWindowCommands, LoadingTheEmptyListFileOrAMissingFileChangesNothing)
{
    Load({});
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), "Kolvarn's Zerak Resources Calculator standing by ...");
    ExpectListCommands(false);
    ExpectAddCommands(true);

    ASSERT_TRUE(DeleteFileA("coldata.dat"));
    ASSERT_TRUE(session->Click(window, IDC_LOADBUTTON));
    const MessageBoxInfo box = session->TakeMessageBox();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Failed accessing file.");
    EXPECT_TRUE(session->NoMessageBox());
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), "Kolvarn's Zerak Resources Calculator standing by ...");
    EXPECT_TRUE(ListLines(window, IDC_COLONYLIST).empty());
    ExpectListCommands(false);
    ExpectAddCommands(true);

    // With colonies listed, a failed load keeps them and the window as it was.
    Load(THREE_COLONIES);
    ASSERT_TRUE(DeleteFileA("coldata.dat"));
    ASSERT_TRUE(session->ChooseMenu(IDM_LOADDATA));
    EXPECT_EQ(session->TakeMessageBox().text, "Failed accessing file.");
    EXPECT_TRUE(session->NoMessageBox());
    EXPECT_EQ(ListLines(window, IDC_COLONYLIST), NamesOf(THREE_COLONIES));
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), THREE_COLONIES_TOTALS);
}

TEST_F(MainWindowCommands, SaveFromMenuAndButtonWritesTheListedColonies)
{
    Load(THREE_COLONIES);
    const std::optional<Bytes> loaded = ReadBytes("coldata.dat");
    ASSERT_TRUE(loaded);
    for (int command : {IDM_SAVEDATA, IDC_SAVEBUTTON})
    {
        SCOPED_TRACE(command);
        ASSERT_TRUE(DeleteFileA("coldata.dat"));
        if (command == IDM_SAVEDATA)
        {
            ASSERT_TRUE(session->ChooseMenu(command));
        }
        else
        {
            ASSERT_TRUE(session->Click(window, command));
        }
        ASSERT_TRUE(session->NoMessageBox());
        const std::optional<Bytes> saved = ReadBytes("coldata.dat");
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved, loaded);
        EXPECT_EQ(ListLines(window, IDC_COLONYLIST), NamesOf(THREE_COLONIES));
    }
}

TEST_F(MainWindowCommands, SavingTheEmptyListWritesTheEmptyListFileOverTheOldOne)
{
    ASSERT_TRUE(WriteColonyFile("coldata.dat", THREE_COLONIES));
    ASSERT_TRUE(session->ChooseMenu(IDM_SAVEDATA));
    ASSERT_TRUE(session->NoMessageBox());
    const std::optional<Bytes> saved = ReadBytes("coldata.dat");
    ASSERT_TRUE(saved);
    ASSERT_TRUE(WriteColonyFile("coldata.dat", {}));
    const std::optional<Bytes> marker = ReadBytes("coldata.dat");
    ASSERT_TRUE(marker);
    EXPECT_EQ(saved->size(), 224u);
    EXPECT_EQ(saved, marker);
}

TEST_F(MainWindowCommands, ModifyAndDeleteButtonsAskForASelection)
{
    Load(THREE_COLONIES);
    const struct
    {
        int button;
        const char* text;
    } buttons[] = {
        {IDC_MODIFYBUTTON, "Please select a colony in order to modify it!"},
        {IDC_DELETEBUTTON, "Please select a colony in order to delete it!"},
    };
    for (const auto& button : buttons)
    {
        SCOPED_TRACE(button.text);
        ASSERT_TRUE(session->Click(window, button.button));
        const MessageBoxInfo box = session->TakeMessageBox();
        EXPECT_EQ(box.text, button.text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(box.owner, window);
        // No dialog came up and nothing changed.
        EXPECT_TRUE(session->NoMessageBox());
        EXPECT_EQ(OpenDialogs(*session), 0u);
        EXPECT_EQ(ListLines(window, IDC_COLONYLIST), NamesOf(THREE_COLONIES));
        EXPECT_EQ(g_ColonyList.GetCount(), 3u);
    }
}

TEST_F(MainWindowCommands, DeleteButtonRemovesTheSelectedColonyAtOnce)
{
    Load(THREE_COLONIES);
    ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, 1));
    ASSERT_TRUE(WaitUntil([&] { return RateFields() == Lines{"1000", "600", "0"}; }));
    ASSERT_TRUE(session->Click(window, IDC_DELETEBUTTON));
    ASSERT_TRUE(session->NoMessageBox());
    EXPECT_EQ(OpenDialogs(*session), 0u);
    EXPECT_EQ(ListLines(window, IDC_COLONYLIST), (Lines{"Velquin Prime", "Tor Hollow"}));
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), "M/h : 1500     C/h : 799     D/h : 307");
    EXPECT_EQ(RateFields(), (Lines{"", "", ""}));
    ExpectListCommands(true);

    for (const char* left : {"Tor Hollow", ""})
    {
        ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, 0));
        ASSERT_TRUE(session->Click(window, IDC_DELETEBUTTON));
        ASSERT_TRUE(session->NoMessageBox());
        EXPECT_EQ(ListLines(window, IDC_COLONYLIST), *left ? Lines{left} : Lines{});
    }
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), "M/h : 0     C/h : 0     D/h : 0");
    ExpectListCommands(false);
    ExpectAddCommands(true);
    EXPECT_TRUE(g_ColonyList.IsEmpty());
}

TEST_F(MainWindowCommands, ModifyButtonOpensTheDialogOnTheSelectedColony)
{
    Load(THREE_COLONIES);
    ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, 2));
    ASSERT_TRUE(WaitUntil([&] { return RateFields()[0] == "0"; }));
    ASSERT_TRUE(session->Click(window, IDC_MODIFYBUTTON));
    HWND dialog = session->WaitDialog("Modify colony data");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
    ASSERT_TRUE(session->Sync());
    ASSERT_NE(g_ColonyList.GetCurrent(), nullptr);
    EXPECT_EQ(g_ColonyList.GetCurrent()->GetName(), "Tor Hollow");

    ASSERT_TRUE(session->Click(dialog, IDOK));
    ASSERT_TRUE(session->WaitGone(dialog));
    ASSERT_TRUE(session->Sync());
    // Result 1 refreshes: same lines, no selection, fields emptied.
    EXPECT_EQ(ListLines(window, IDC_COLONYLIST), NamesOf(THREE_COLONIES));
    EXPECT_EQ(ListSelection(window, IDC_COLONYLIST), LB_ERR);
    EXPECT_EQ(RateFields(), (Lines{"", "", ""}));
}

// How the colony count after a step sets the commands: none greys the list commands, and
// nine exactly greys adding. Loading more than nine leaves adding as it was; adding greys it
// only when exactly nine result, and deleting enables it only below nine.
enum class Step
{
    Load,      // a data file of this many colonies, File, Load data
    AddByMenu, // Colonies, Add colony, a new colony, OK
    AddByButton,
    DeleteLine,  // the last line selected, the Delete button
    DeleteByName // Colonies, Delete colony, the first colony's name, OK
};

struct CountStep
{
    Step step;
    int colonies; // Load only
    bool listCommands;
    bool addCommands;
};

const CountStep COUNT_STEPS[] = {
    {Step::Load, 1, true, true},          {Step::Load, 8, true, true},
    {Step::AddByMenu, 0, true, false},    {Step::Load, 10, true, false},
    {Step::Load, 12, true, false},        {Step::Load, 3, true, true},
    {Step::Load, 12, true, true},         {Step::AddByButton, 0, true, true},
    {Step::Load, 9, true, false},         {Step::Load, 10, true, false},
    {Step::DeleteLine, 0, true, false},   {Step::DeleteByName, 0, true, true},
    {Step::AddByButton, 0, true, false},  {Step::DeleteLine, 0, true, true},
    {Step::Load, 2, true, true},          {Step::DeleteLine, 0, true, true},
    {Step::DeleteByName, 0, false, true},
};

class CommandsByColonyCount : public MainWindowCommands
{
protected:
    void Add(int command, const ColonyRecord& colony)
    {
        if (command == IDM_ADDCOLONY)
        {
            ASSERT_TRUE(session->ChooseMenu(command));
        }
        else
        {
            ASSERT_TRUE(session->Click(window, command));
        }
        HWND dialog = session->WaitDialog("Add colony");
        ASSERT_NE(dialog, nullptr);
        session->Type(dialog, IDC_ADD_NAME, colony.name);
        session->Type(dialog, IDC_ADD_METAL, std::to_string(colony.metal));
        session->Type(dialog, IDC_ADD_CRYSTAL, std::to_string(colony.crystal));
        session->Type(dialog, IDC_ADD_DEUTERIUM, std::to_string(colony.deuterium));
        ASSERT_TRUE(session->Sync());
        ASSERT_TRUE(session->Click(dialog, IDOK));
        ASSERT_TRUE(session->WaitGone(dialog));
        ASSERT_TRUE(session->NoMessageBox());
    }

    void DeleteLine(int line)
    {
        ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, line));
        ASSERT_TRUE(session->Click(window, IDC_DELETEBUTTON));
        ASSERT_TRUE(session->NoMessageBox());
    }

    void DeleteByName(const std::string& name)
    {
        ASSERT_TRUE(session->ChooseMenu(IDM_DELETECOLONY));
        HWND dialog = session->WaitDialog("Delete colony");
        ASSERT_NE(dialog, nullptr);
        session->Type(dialog, IDC_DELETE_NAME, name);
        ASSERT_TRUE(session->Sync());
        ASSERT_TRUE(session->Click(dialog, IDOK));
        ASSERT_TRUE(session->WaitGone(dialog));
        ASSERT_TRUE(session->NoMessageBox());
    }
};

TEST_F(CommandsByColonyCount, FollowLoadingAddingAndDeleting)
{
    std::vector<ColonyRecord> colonies;
    int number = 0;
    for (const CountStep& step : COUNT_STEPS)
    {
        SCOPED_TRACE(::testing::Message() << "step " << ++number);
        switch (step.step)
        {
            case Step::Load:
                colonies = NumberedColonies(step.colonies);
                Load(colonies);
                break;
            case Step::AddByMenu:
            case Step::AddByButton:
            {
                const ColonyRecord added = {"Added " + std::to_string(number), 90, 9, 1};
                Add(step.step == Step::AddByMenu ? IDM_ADDCOLONY : IDC_ADDBUTTON, added);
                colonies.push_back(added);
                break;
            }
            case Step::DeleteLine:
                DeleteLine(static_cast<int>(colonies.size()) - 1);
                colonies.pop_back();
                break;
            case Step::DeleteByName:
                DeleteByName(colonies.front().name);
                colonies.erase(colonies.begin());
                break;
        }
        ASSERT_TRUE(session->Sync());
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        std::uint32_t metal = 0;
        std::uint32_t crystal = 0;
        std::uint32_t deuterium = 0;
        for (const ColonyRecord& colony : colonies)
        {
            metal += colony.metal;
            crystal += colony.crystal;
            deuterium += colony.deuterium;
        }
        EXPECT_EQ(ListLines(window, IDC_COLONYLIST), NamesOf(colonies));
        EXPECT_EQ(g_ColonyList.GetCount(), colonies.size());
        EXPECT_EQ(ItemText(window, IDC_STATUSBAR), "M/h : " + std::to_string(metal) +
                                                       "     C/h : " + std::to_string(crystal) +
                                                       "     D/h : " + std::to_string(deuterium));
        ExpectListCommands(step.listCommands);
        ExpectAddCommands(step.addCommands);
        if (!step.addCommands)
        {
            EXPECT_FALSE(session->ChooseMenu(IDM_ADDCOLONY));
            EXPECT_FALSE(session->Click(window, IDC_ADDBUTTON));
        }
        if (colonies.empty())
        {
            EXPECT_EQ(g_ColonyList.GetCurrent(), nullptr);
        }
    }
}

struct DialogFailure
{
    int command; // a menu item, or a button of the main window
    const char* caption;
    const char* text;
};

const DialogFailure DIALOG_FAILURES[] = {
    {IDM_ADDCOLONY, "Add colony", "\"Add colony\" dialog failed !"},
    {IDC_ADDBUTTON, "Add colony", "\"Add colony\" dialog failed !"},
    {IDM_MODIFYCOLONY, "Modify colony data", "\"Modify colony\" dialog failed !"},
    {IDC_MODIFYBUTTON, "Modify colony data", "\"Modify colony\" dialog failed !"},
    {IDM_DELETECOLONY, "Delete colony", "\"Delete colony\" dialog failed !"},
    {IDC_DELETEBUTTON, "Delete colony", "\"Delete colony\" dialog failed !"},
    {IDM_VIEWCOLONIES, "View colonies", "\"View colonies\" dialog failed!"},
    {IDM_PRODUCTION, "Production calculation", "\"Production calculation\" dialog failed !"},
    {IDM_TIME, "Time calculation", "\"Time calculation\" dialog failed !"},
    {IDM_ABOUT, "About", "\"About dialog\" failed !"},
};

TEST_F(MainWindowCommands, ADialogThatCannotOpenIsReportedAndChangesNothing)
{
    Load(THREE_COLONIES);
    for (const DialogFailure& failure : DIALOG_FAILURES)
    {
        SCOPED_TRACE(failure.text);
        session->SetCreationFilter(FailDialog(failure.caption));
        const bool isButton = failure.command > 3000;
        if (isButton)
        {
            // The Modify and Delete buttons need a selected line to get as far as the dialog.
            ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, 1));
            ASSERT_TRUE(session->Click(window, failure.command));
        }
        else
        {
            ASSERT_TRUE(session->ChooseMenu(failure.command));
        }
        const MessageBoxInfo box = session->TakeMessageBox();
        EXPECT_EQ(box.text, failure.text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONHAND));
        EXPECT_EQ(box.owner, window);
        EXPECT_TRUE(session->NoMessageBox());
        EXPECT_EQ(ListLines(window, IDC_COLONYLIST), NamesOf(THREE_COLONIES));
        EXPECT_EQ(g_ColonyList.GetCount(), 3u);
        EXPECT_EQ(ItemText(window, IDC_STATUSBAR), THREE_COLONIES_TOTALS);
        ExpectListCommands(true);
        ExpectAddCommands(true);
    }
}

TEST_F(MainWindowCommands, ExitAndCloseEndTheProgramWithoutSaving)
{
    const struct
    {
        const char* route;
        void (*close)(UiSession&, HWND);
    } routes[] = {
        {"File, Exit", [](UiSession& s, HWND) { ASSERT_TRUE(s.ChooseMenu(IDM_EXIT)); }},
        {"close box", [](UiSession& s, HWND w) { s.CloseBox(w); }},
        {"WM_CLOSE", [](UiSession&, HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }},
    };
    for (const auto& route : routes)
    {
        SCOPED_TRACE(route.route);
        if (window == nullptr)
        {
            Start();
        }
        Load(THREE_COLONIES);
        const std::optional<Bytes> before = ReadBytes("coldata.dat");
        ASSERT_TRUE(before);
        ASSERT_TRUE(session->SelectLine(window, IDC_COLONYLIST, 0));
        ASSERT_TRUE(session->Click(window, IDC_DELETEBUTTON));
        ASSERT_TRUE(session->NoMessageBox());

        route.close(*session, window);
        int exitCode = -1;
        ASSERT_TRUE(session->WaitEnded(exitCode));
        EXPECT_EQ(exitCode, 0);
        EXPECT_FALSE(IsWindow(window));
        const std::optional<Bytes> after = ReadBytes("coldata.dat");
        ASSERT_TRUE(after);
        EXPECT_EQ(after, before);
        session.reset();
        window = nullptr;
    }
}

class MainWindowWithoutListBox : public MainWindowCommands
{
protected:
    void SetUp() override
    {
        SessionOptions options;
        options.failCreation = FailChildId(IDC_COLONYLIST);
        session = std::make_unique<UiSession>(std::move(options));
        EXPECT_EQ(session->TakeMessageBox().text, "Failed to create main colony list!");
        window = session->WaitMainWindow();
        ASSERT_NE(window, nullptr);
    }
};

TEST_F(MainWindowWithoutListBox, LoadsAndTotalsButActsOnNoColony)
{
    Load(THREE_COLONIES);
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), THREE_COLONIES_TOTALS);
    ExpectListCommands(true);

    ASSERT_TRUE(session->Click(window, IDC_DELETEBUTTON));
    EXPECT_EQ(session->TakeMessageBox().text, "Please select a colony in order to delete it!");
    ASSERT_TRUE(session->Click(window, IDC_MODIFYBUTTON));
    EXPECT_EQ(session->TakeMessageBox().text, "Please select a colony in order to modify it!");
    EXPECT_TRUE(session->NoMessageBox());
    EXPECT_EQ(g_ColonyList.GetCount(), 3u);
    EXPECT_EQ(ItemText(window, IDC_STATUSBAR), THREE_COLONIES_TOTALS);
}

} // namespace
