#include "ColonyDialogTest.h"

#include "ui/dialogs/DeleteColonyDialog.h"

namespace
{

const DialogLayout DELETE_LAYOUT = {
    "Delete colony",
    148,
    60,
    {
        {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, Units(7, 40, 50, 14)},
        {IDCANCEL, "Button", "Cancel", WS_TABSTOP, Units(90, 40, 50, 14)},
        {-1, "Button", "Colony name :", BS_GROUPBOX | WS_TABSTOP, Units(7, 7, 132, 30)},
        {IDC_DELETE_NAME, "Edit", "", WS_BORDER | WS_TABSTOP, Units(14, 18, 120, 14)},
    }};

const Colony MARS = {"Mars", 1500, 800, 300};
const Colony VENUS = {"Venus", 1000, 600, 0};
const Colony TITAN = {"Titan", 20, 7, 5};
const Colonies THREE = {MARS, VENUS, TITAN};

const char* const NOT_FOUND = "Colony with this name doesn't exist. Please, check spelling!";
const char* const NO_NAME = "Please enter name of colony to be deleted!";

Colonies Without(Colonies colonies, std::size_t index)
{
    colonies.erase(colonies.begin() + static_cast<std::ptrdiff_t>(index));
    return colonies;
}

Colonies Numbered(int count)
{
    Colonies colonies;
    for (int i = 1; i <= count; ++i)
    {
        colonies.push_back({"Colony " + std::to_string(i), static_cast<std::uint32_t>(i), 2, 3});
    }
    return colonies;
}

class DeleteColonyDialogTest : public ColonyDialogTest
{
protected:
    HWND OpenDelete() { return Open(IDM_DELETECOLONY, "Delete colony"); }

    // The Delete button on a selected line: the colony goes at once, with no dialog.
    void DeleteLine(int line)
    {
        SelectColonyLine(line);
        Click(m_main, IDC_DELETEBUTTON);
        EXPECT_EQ(m_session.FindDialog("Delete colony"), nullptr);
        ExpectNoMessage();
    }

    // Types the name and presses OK; the messages that follow are the caller's.
    HWND DeleteByName(const std::string& name)
    {
        HWND dialog = OpenDelete();
        if (dialog != nullptr)
        {
            if (!name.empty())
            {
                Type(dialog, IDC_DELETE_NAME, name);
            }
            m_session.Click(dialog, IDOK);
        }
        return dialog;
    }
};

TEST_F(DeleteColonyDialogTest, TheMenuItemOpensTheDialogWithItsTemplate)
{
    Load(THREE);
    HWND dialog = OpenDelete();
    ExpectLayout(dialog, DELETE_LAYOUT);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), m_main);
    ExpectFocusOn(dialog, IDOK);
}

TEST_F(DeleteColonyDialogTest, TheDeleteButtonRemovesTheSelectedColonyAtOnce)
{
    for (int line = 0; line < 3; ++line)
    {
        SCOPED_TRACE(line);
        Load(THREE);
        DeleteLine(line);
        ExpectMainRefreshed(Without(THREE, static_cast<std::size_t>(line)), Commands::Enabled,
                            Commands::Enabled);
        EXPECT_EQ(CursorName(), line == 0 ? VENUS.name : MARS.name) << "the cursor goes back to the head";
    }
}

// Only the low 16 bits of the dialog parameter count, so the marker with other bits set
// above still removes the cursor colony; any other parameter shows the dialog.
TEST_F(DeleteColonyDialogTest, OnlyTheLowWordOfTheParameterIsTheMarker)
{
    Load(THREE);
    // As the Delete button would, while the program waits for input.
    g_ColonyList.SetCurrent(g_ColonyList.GetHead()->GetNext());
    m_session.PostCommand(IDM_DELETECOLONY, (LPARAM{7} << 16) | DELETE_CURRENT_MARKER);
    ASSERT_TRUE(m_session.Sync());
    EXPECT_EQ(m_session.FindDialog("Delete colony"), nullptr);
    ExpectNoMessage();
    ExpectMainRefreshed({MARS, TITAN}, Commands::Enabled, Commands::Enabled);

    m_session.PostCommand(IDM_DELETECOLONY, DELETE_CURRENT_MARKER + 1);
    HWND dialog = m_session.WaitDialog("Delete colony");
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDCANCEL);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    EXPECT_EQ(ListContent(), Colonies({MARS, TITAN}));
}

// Found or not, OK ends the dialog with 1, so the main window rebuilds itself either way.
TEST_F(DeleteColonyDialogTest, OkRemovesTheColonyOfExactlyThatName)
{
    Load(THREE);
    HWND dialog = DeleteByName("Venus");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    ExpectMainRefreshed({MARS, TITAN}, Commands::Enabled, Commands::Enabled);

    for (const char* name : {"venus", "MARS", "Mars ", " Mars", "Nowhere", "Mar"})
    {
        SCOPED_TRACE(::testing::Message() << "\"" << name << "\"");
        SelectColonyLine(0);
        dialog = DeleteByName(name);
        ASSERT_NE(dialog, nullptr);
        ExpectMessage(nullptr, "Error", NOT_FOUND, MB_ICONEXCLAMATION);
        EXPECT_TRUE(m_session.WaitGone(dialog));
        ExpectMainRefreshed({MARS, TITAN}, Commands::Enabled, Commands::Enabled);
    }
}

TEST_F(DeleteColonyDialogTest, AnEmptyNameAsksForOneAndThenFindsNone)
{
    Load(THREE);
    HWND dialog = DeleteByName("");
    ASSERT_NE(dialog, nullptr);
    ExpectMessages(
        {{nullptr, "Error", NO_NAME, MB_ICONEXCLAMATION}, {nullptr, "Error", NOT_FOUND, MB_ICONEXCLAMATION}});
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectMainRefreshed(THREE, Commands::Enabled, Commands::Enabled);
}

// Two colonies of one name come about only by renaming one in the Modify dialog.
TEST_F(DeleteColonyDialogTest, OfTwoColoniesOfOneNameTheEarlierGoes)
{
    Load(THREE);
    SelectColonyLine(2);
    Click(m_main, IDC_MODIFYBUTTON);
    HWND modify = m_session.WaitDialog("Modify colony data");
    ASSERT_NE(modify, nullptr);
    Type(modify, IDC_NEW_NAME, "Mars");
    Click(modify, IDC_APPLY);
    Click(modify, IDOK);
    ASSERT_TRUE(m_session.WaitGone(modify));
    const Colony laterMars = {"Mars", TITAN.metal, TITAN.crystal, TITAN.deuterium};
    ASSERT_EQ(ListContent(), Colonies({MARS, VENUS, laterMars}));

    HWND dialog = DeleteByName("Mars");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    ExpectMainRefreshed({VENUS, laterMars}, Commands::Enabled, Commands::Enabled);
}

TEST_F(DeleteColonyDialogTest, EnterInTheNameMeansOk)
{
    Load(THREE);
    HWND dialog = OpenDelete();
    ASSERT_NE(dialog, nullptr);
    Type(dialog, IDC_DELETE_NAME, "Titan");
    Focus(dialog, IDC_DELETE_NAME);
    Press(dialog, VK_RETURN);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    ExpectMainRefreshed({MARS, VENUS}, Commands::Enabled, Commands::Enabled);
}

TEST_F(DeleteColonyDialogTest, CancelEscapeAndTheCloseBoxRemoveNothing)
{
    Load(THREE);
    SelectColonyLine(1);
    ExpectEveryWayOfCancellingKeepsAll(
        [&]
        {
            HWND dialog = OpenDelete();
            Type(dialog, IDC_DELETE_NAME, "Venus");
            return dialog;
        },
        IDC_DELETE_NAME);
}

TEST_F(DeleteColonyDialogTest, DeletingTheLastColonyGreysTheListCommands)
{
    Load({MARS, VENUS});
    DeleteLine(1);
    ExpectMainRefreshed({MARS}, Commands::Enabled, Commands::Enabled);
    HWND dialog = DeleteByName("Mars");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    ExpectMainRefreshed({}, Commands::Greyed, Commands::Enabled);
    EXPECT_EQ(StatusText(), "M/h : 0     C/h : 0     D/h : 0");
    EXPECT_EQ(CursorName(), "(none)");
}

// Below nine the add commands come back; from ten down to nine they stay as they were.
TEST_F(DeleteColonyDialogTest, FewerThanNineColoniesEnableTheAddCommandsAgain)
{
    Load(Numbered(9));
    ASSERT_EQ(AddCommands(), Commands::Greyed);
    Load(Numbered(10));
    ASSERT_EQ(AddCommands(), Commands::Greyed);
    DeleteLine(9);
    ExpectMainRefreshed(Numbered(9), Commands::Enabled, Commands::Greyed);
    DeleteLine(8);
    ExpectMainRefreshed(Numbered(8), Commands::Enabled, Commands::Enabled);
}

TEST_F(DeleteColonyDialogTest, ANameThatCannotBeReadIsReportedAndNothingIsRemoved)
{
    Load(THREE);
    HWND dialog = OpenDelete();
    ASSERT_NE(dialog, nullptr);
    Type(dialog, IDC_DELETE_NAME, "Mars");
    {
        FailingGlobalAlloc noMemory;
        ASSERT_TRUE(noMemory.IsActive());
        Click(dialog, IDOK);
        ExpectMessage(dialog, "Error", "Not enough memory to read the colony name!", MB_ICONHAND);
        EXPECT_EQ(noMemory.RefusedCount(), 1);
    }
    EXPECT_TRUE(StaysOpen(dialog));
    EXPECT_EQ(ListContent(), THREE);
    EXPECT_EQ(bench::ItemText(dialog, IDC_DELETE_NAME), "Mars");

    Click(dialog, IDOK);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    ExpectMainRefreshed({VENUS, TITAN}, Commands::Enabled, Commands::Enabled);
}

} // namespace
