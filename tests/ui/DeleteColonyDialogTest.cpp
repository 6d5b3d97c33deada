#include "ColonyDialogTest.h"

#include "ui/dialogs/DeleteColonyDialog.h"

namespace
{

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
