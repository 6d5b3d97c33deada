#include "ColonyDialogTest.h"

#include "ui/dialogs/ModifyColonyDialog.h"

namespace
{

const int NEW_FIELDS[] = {IDC_NEW_NAME, IDC_NEW_METAL, IDC_NEW_CRYSTAL, IDC_NEW_DEUTERIUM};

const Colony MARS = {"Mars", 1500, 800, 300};
const Colony VENUS = {"Venus", 1000, 600, 0};
const Colony TITAN = {"Titan (moon)", 4294967295u, 7, 0};
const Colonies THREE = {MARS, VENUS, TITAN};

class ModifyColonyDialogTest : public ColonyDialogTest
{
protected:
    // The Modify button on a selected line, as the user opens the dialog on one colony.
    HWND OpenOnLine(int line)
    {
        SelectColonyLine(line);
        if (!m_session.Click(m_main, IDC_MODIFYBUTTON))
        {
            ADD_FAILURE() << "the Modify button cannot be clicked";
            return nullptr;
        }
        HWND dialog = m_session.WaitDialog("Modify colony data");
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }

    // The left column shows the colony, and the edits are empty.
    void ExpectShows(HWND dialog, const Colony& colony)
    {
        ASSERT_TRUE(m_session.Sync());
        EXPECT_EQ(bench::ItemText(dialog, IDC_CURRENT_NAME), colony.name);
        EXPECT_EQ(bench::ItemText(dialog, IDC_CURRENT_METAL), std::to_string(colony.metal));
        EXPECT_EQ(bench::ItemText(dialog, IDC_CURRENT_CRYSTAL), std::to_string(colony.crystal));
        EXPECT_EQ(bench::ItemText(dialog, IDC_CURRENT_DEUTERIUM), std::to_string(colony.deuterium));
        for (int field : NEW_FIELDS)
        {
            EXPECT_EQ(bench::ItemText(dialog, field), "") << "edit " << field;
        }
    }

    void TypeAll(HWND dialog, const std::vector<std::string>& texts)
    {
        for (std::size_t field = 0; field < texts.size(); ++field)
        {
            if (!texts[field].empty())
            {
                Type(dialog, NEW_FIELDS[field], texts[field]);
            }
        }
    }

    void Done(HWND dialog)
    {
        Click(dialog, IDOK);
        EXPECT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
    }
};

TEST_F(ModifyColonyDialogTest, OpensOnTheSelectedColonyWithEmptyEdits)
{
    Load(THREE);
    for (int line = 0; line < 3; ++line)
    {
        SCOPED_TRACE(line);
        HWND dialog = OpenOnLine(line);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), m_main);
        ExpectShows(dialog, THREE[static_cast<std::size_t>(line)]);
        Done(dialog);
        ExpectMainRefreshed(THREE, Commands::Enabled, Commands::Enabled);
    }
}

// The menu item opens on the cursor: the first colony after a load, else where the last
// Modify button click or the dialog's own stepping left it.
TEST_F(ModifyColonyDialogTest, TheMenuItemOpensOnTheListsCursor)
{
    Load(THREE);
    HWND dialog = Open(IDM_MODIFYCOLONY, "Modify colony data");
    ASSERT_NE(dialog, nullptr);
    ExpectShows(dialog, MARS);
    Click(dialog, IDC_PREVIOUS);
    Done(dialog);

    dialog = Open(IDM_MODIFYCOLONY, "Modify colony data");
    ASSERT_NE(dialog, nullptr);
    ExpectShows(dialog, TITAN);
    Done(dialog);
    EXPECT_EQ(CursorName(), TITAN.name);
}

TEST_F(ModifyColonyDialogTest, PreviousAndNextStepThroughTheListAndWrapAround)
{
    Load(THREE);
    HWND dialog = OpenOnLine(0);
    ASSERT_NE(dialog, nullptr);
    struct Step
    {
        int button;
        Colony shown;
    };
    const Step steps[] = {{IDC_NEXT, VENUS},     {IDC_NEXT, TITAN},     {IDC_NEXT, MARS},
                          {IDC_PREVIOUS, TITAN}, {IDC_PREVIOUS, VENUS}, {IDC_PREVIOUS, MARS}};
    int number = 0;
    for (const Step& step : steps)
    {
        SCOPED_TRACE(++number);
        Type(dialog, IDC_NEW_METAL, "5");
        Click(dialog, step.button);
        ExpectShows(dialog, step.shown);
    }
    Done(dialog);
    EXPECT_EQ(ListContent(), THREE) << "typed but not applied";
}

TEST_F(ModifyColonyDialogTest, WithOneColonyPreviousAndNextRedisplayItAndClearTheEdits)
{
    Load({MARS});
    HWND dialog = OpenOnLine(0);
    ASSERT_NE(dialog, nullptr);
    for (int button : {IDC_NEXT, IDC_PREVIOUS})
    {
        TypeAll(dialog, {"Deimos", "1", "2", "3"});
        Click(dialog, button);
        ExpectShows(dialog, MARS);
    }
    Done(dialog);
    ExpectMainRefreshed({MARS}, Commands::Enabled, Commands::Enabled);
}

// Each filled edit replaces its own value; empty ones keep theirs. Nothing is checked and
// nothing is said, not even for a name another colony bears.
TEST_F(ModifyColonyDialogTest, ApplyWritesTheFilledEditsIntoTheShownColony)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> typed;
        Colony result; // of Venus, the second colony
    };
    const Case cases[] = {
        {"crystal only", {"", "", "77", ""}, {"Venus", 1000, 77, 0}},
        {"nothing", {"", "", "", ""}, VENUS},
        {"a zero rate", {"", "0", "", ""}, {"Venus", 0, 600, 0}},
        {"every field", {"Ceres", "1", "2", "3"}, {"Ceres", 1, 2, 3}},
        {"a taken name", {"Mars", "", "", ""}, {"Mars", 1000, 600, 0}},
        {"blanks and case kept", {" mars ", "", "", ""}, {" mars ", 1000, 600, 0}},
        {"largest rate", {"", "", "", "4294967295"}, {"Venus", 1000, 600, 4294967295u}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Load(THREE);
        HWND dialog = OpenOnLine(1);
        ASSERT_NE(dialog, nullptr);
        TypeAll(dialog, c.typed);
        Click(dialog, IDC_APPLY);
        ExpectNoMessage();
        EXPECT_TRUE(StaysOpen(dialog));
        ExpectShows(dialog, c.result);
        EXPECT_EQ(CursorName(), c.result.name);
        Done(dialog);
        ExpectMainRefreshed({MARS, c.result, TITAN}, Commands::Enabled, Commands::Enabled);
    }
}

// What a pasted rate text counts as. Only nothing but digits counts, the full-width ones an input
// method types included; the same in every field and in any order of entries (the platform's
// own conversion, after one value too large, read every later 4294967295 as 0).
TEST_F(ModifyColonyDialogTest, ApplyCountsRateTextOnlyWhenItIsNothingButDigits)
{
    struct Case
    {
        const char* label;
        std::wstring text;
        std::uint32_t rate;
    };
    const Case cases[] = {
        {"leading zeros", L"007", 7},
        {"one past the largest", L"4294967296", 0},
        {"the largest after one too large", L"4294967295", 4294967295u},
        {"eleven digits", L"99999999999", 0},
        {"the largest after eleven digits", L"4294967295", 4294967295u},
        {"thirty characters of zeros and a one", std::wstring(29, L'0') + L"1", 1},
        {"zero", L"0", 0},
        {"full-width digits", L"\xFF11\xFF12", 12},
        {"trailing letters", L"12abc", 0},
        {"letters", L"abc", 0},
        {"minus sign", L"-1", 0},
        {"minus sign U+2212",
         L"\x2212"
         L"5",
         0},
        {"plus sign", L"+5", 0},
        {"grouping blank", L"1 000", 0},
        {"leading blank", L" 12", 0},
        {"decimal point", L"1.5", 0},
        {"the largest once more", L"4294967295", 4294967295u},
    };
    Load({MARS});
    HWND dialog = OpenOnLine(0);
    ASSERT_NE(dialog, nullptr);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        Paste(dialog, IDC_NEW_METAL, c.text);
        Paste(dialog, IDC_NEW_CRYSTAL, c.text);
        Paste(dialog, IDC_NEW_DEUTERIUM, c.text);
        Click(dialog, IDC_APPLY);
        ExpectNoMessage();
        ExpectShows(dialog, {"Mars", c.rate, c.rate, c.rate});
    }
    Done(dialog);
    EXPECT_EQ(ListContent(), Colonies({{"Mars", 4294967295u, 4294967295u, 4294967295u}}));
}

// Opened on an empty list (the main window never offers it so, but the command can still
// arrive) it shows nothing, touches nothing and ends with 1.
TEST_F(ModifyColonyDialogTest, OnAnEmptyListItClosesAtOnceWithResultOne)
{
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MODIFYCOLONY), nullptr,
                              ModifyColonyDialogProc, 0),
              1);
    EXPECT_TRUE(ListContent().empty());

    m_session.PostCommand(IDM_MODIFYCOLONY);
    ASSERT_TRUE(m_session.Sync());
    EXPECT_EQ(m_session.FindDialog("Modify colony data"), nullptr);
    ExpectNoMessage();
    EXPECT_TRUE(ListContent().empty());
    EXPECT_EQ(ListCommands(), Commands::Greyed);
    EXPECT_EQ(AddCommands(), Commands::Enabled);
}

TEST_F(ModifyColonyDialogTest, ANameThatCannotBeReadIsReportedAndNothingIsApplied)
{
    Load(THREE);
    HWND dialog = OpenOnLine(0);
    ASSERT_NE(dialog, nullptr);
    TypeAll(dialog, {"Phobos", "1", "2", "3"});
    {
        FailingGlobalAlloc noMemory;
        ASSERT_TRUE(noMemory.IsActive());
        Click(dialog, IDC_APPLY);
        ExpectMessage(dialog, "Error", "Not enough memory to read the colony name!", MB_ICONHAND);
        EXPECT_EQ(noMemory.RefusedCount(), 1);
    }
    EXPECT_TRUE(StaysOpen(dialog));
    EXPECT_EQ(ListContent(), THREE);
    EXPECT_EQ(bench::ItemText(dialog, IDC_CURRENT_NAME), "Mars");
    EXPECT_EQ(bench::ItemText(dialog, IDC_NEW_NAME), "Phobos");
    EXPECT_EQ(bench::ItemText(dialog, IDC_NEW_DEUTERIUM), "3");

    Click(dialog, IDC_APPLY);
    ExpectNoMessage();
    ExpectShows(dialog, {"Phobos", 1, 2, 3});
    Done(dialog);
    ExpectMainRefreshed({{"Phobos", 1, 2, 3}, VENUS, TITAN}, Commands::Enabled, Commands::Enabled);
}

} // namespace
