#include "ColonyDialogTest.h"

namespace
{

const int FIELDS[] = {IDC_ADD_NAME, IDC_ADD_METAL, IDC_ADD_CRYSTAL, IDC_ADD_DEUTERIUM};

const Colony VELQUIN = {"Velquin Prime", 1500, 800, 300};
const Colony ASTER = {"Aster", 1000, 600, 0};

const char* const MISSING = "Colony data is missing! Please enter all colony data.";
const char* const TAKEN = "Colony with this name allready exists.";

class AddColonyDialogTest : public ColonyDialogTest
{
protected:
    HWND OpenAdd() { return Open(IDM_ADDCOLONY, "Add colony"); }

    // Types what a user types into the four fields, leaving empty ones untouched.
    void Fill(HWND dialog, const std::vector<std::string>& texts)
    {
        for (std::size_t field = 0; field < texts.size(); ++field)
        {
            if (!texts[field].empty())
            {
                Type(dialog, FIELDS[field], texts[field]);
            }
        }
    }

    void Fill(HWND dialog, const Colony& colony)
    {
        Fill(dialog, {colony.name, std::to_string(colony.metal), std::to_string(colony.crystal),
                      std::to_string(colony.deuterium)});
    }

    // Adds through the dialog and its OK button.
    void Add(const Colony& colony)
    {
        HWND dialog = OpenAdd();
        ASSERT_NE(dialog, nullptr);
        Fill(dialog, colony);
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
    }

    // A refused OK: the one message, owned by the dialog, then the dialog is gone and the
    // main window still shows what it showed, the selected colony's rates included.
    void ExpectRefused(HWND dialog, const char* caption, const char* text, UINT icon, const Colonies& before)
    {
        const Lines rates = RateFields();
        const std::string status = StatusText();
        Click(dialog, IDOK);
        ExpectMessage(dialog, caption, text, icon);
        EXPECT_TRUE(m_session.WaitGone(dialog));
        ASSERT_TRUE(m_session.Sync());
        EXPECT_EQ(ListContent(), before);
        EXPECT_EQ(RateFields(), rates);
        EXPECT_EQ(StatusText(), status);
    }
};

TEST_F(AddColonyDialogTest, TheAddButtonOpensTheSameDialog)
{
    Click(m_main, IDC_ADDBUTTON);
    HWND dialog = m_session.WaitDialog("Add colony");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), m_main);
    Fill(dialog, VELQUIN);
    Click(dialog, IDOK);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    ExpectMainRefreshed({VELQUIN}, Commands::Enabled, Commands::Enabled);
}

// The first colony becomes the only line and the totals; the second goes to the end, and
// the list's cursor is back on the first.
TEST_F(AddColonyDialogTest, AcceptedColoniesAreAppended)
{
    Add(VELQUIN);
    Add(ASTER);
    ExpectMainRefreshed({VELQUIN, ASTER}, Commands::Enabled, Commands::Enabled);
    EXPECT_EQ(CursorName(), VELQUIN.name);
}

// One message however many fields are empty; a rate of 0 is filled.
TEST_F(AddColonyDialogTest, MissingDataIsRefusedWithOneMessage)
{
    const std::vector<std::vector<std::string>> entries = {
        {"", "", "", ""},       {"", "1", "2", "3"},  {"Mars", "", "2", "3"}, {"Mars", "1", "", "3"},
        {"Mars", "1", "2", ""}, {"Mars", "", "", ""}, {"", "0", "0", "0"},
    };
    Load({ASTER});
    for (const std::vector<std::string>& entry : entries)
    {
        SCOPED_TRACE(::testing::Message() << "name \"" << entry[0] << "\", rates \"" << entry[1] << "\" \""
                                          << entry[2] << "\" \"" << entry[3] << "\"");
        SelectColonyLine(0);
        HWND dialog = OpenAdd();
        ASSERT_NE(dialog, nullptr);
        Fill(dialog, entry);
        ExpectRefused(dialog, "Error", MISSING, MB_ICONEXCLAMATION, {ASTER});
        EXPECT_EQ(AddCommands(), Commands::Enabled);
    }
}

TEST_F(AddColonyDialogTest, ZeroRatesCountAsFilled)
{
    Add({"Barren", 0, 0, 0});
    ExpectMainRefreshed({{"Barren", 0, 0, 0}}, Commands::Enabled, Commands::Enabled);
}

TEST_F(AddColonyDialogTest, ATakenNameIsRefusedButNamesDifferingInCaseOrBlanksAreNew)
{
    Load({VELQUIN});
    HWND dialog = OpenAdd();
    ASSERT_NE(dialog, nullptr);
    Fill(dialog, {VELQUIN.name, "1", "2", "3"});
    ExpectRefused(dialog, "Info", TAKEN, MB_ICONASTERISK, {VELQUIN});

    Colonies expected = {VELQUIN};
    for (const char* name : {"velquin prime", "VELQUIN PRIME", " Velquin Prime", "Velquin Prime ", "   "})
    {
        SCOPED_TRACE(::testing::Message() << "\"" << name << "\"");
        Add({name, 1, 2, 3});
        expected.push_back({name, 1, 2, 3});
        EXPECT_EQ(ListContent(), expected);
    }
    // The blanks-only name is taken now as well.
    dialog = OpenAdd();
    ASSERT_NE(dialog, nullptr);
    Fill(dialog, {"   ", "4", "5", "6"});
    ExpectRefused(dialog, "Info", TAKEN, MB_ICONASTERISK, expected);
}

// The rate edits take digits only when typed; a pasted text counts only when it is nothing but
// digits, without a message (the whole table of texts is Modify's).
TEST_F(AddColonyDialogTest, RateTextCountsOnlyWhenItIsNothingButDigits)
{
    HWND dialog = OpenAdd();
    ASSERT_NE(dialog, nullptr);
    Type(dialog, IDC_ADD_METAL, "12a-3");
    EXPECT_EQ(bench::ItemText(dialog, IDC_ADD_METAL), "123");
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(m_session.WaitGone(dialog));

    struct Case
    {
        const char* text;
        std::uint32_t rate;
    };
    const Case cases[] = {{"007", 7}, {"4294967296", 0}, {"4294967295", 4294967295u}, {"12a", 0}, {"abc", 0}};
    Colonies expected;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        const std::string name = std::string("Rate ") + c.text;
        dialog = OpenAdd();
        ASSERT_NE(dialog, nullptr);
        Type(dialog, IDC_ADD_NAME, name);
        Paste(dialog, IDC_ADD_METAL, c.text);
        Paste(dialog, IDC_ADD_CRYSTAL, c.text);
        Paste(dialog, IDC_ADD_DEUTERIUM, c.text);
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
        expected.push_back({name, c.rate, c.rate, c.rate});
        EXPECT_EQ(ListContent(), expected);
    }
}

TEST_F(AddColonyDialogTest, ANameThatCannotBeReadIsReportedAndTheDialogKeepsTheEntry)
{
    Load({ASTER});
    HWND dialog = OpenAdd();
    ASSERT_NE(dialog, nullptr);
    Fill(dialog, VELQUIN);
    {
        FailingGlobalAlloc noMemory;
        ASSERT_TRUE(noMemory.IsActive());
        Click(dialog, IDOK);
        ExpectMessage(dialog, "Error", "Not enough memory to read the colony name!", MB_ICONHAND);
        EXPECT_EQ(noMemory.RefusedCount(), 1);
    }
    EXPECT_TRUE(StaysOpen(dialog));
    EXPECT_EQ(ListContent(), Colonies({ASTER}));
    EXPECT_EQ(bench::ItemText(dialog, IDC_ADD_NAME), VELQUIN.name);
    EXPECT_EQ(bench::ItemText(dialog, IDC_ADD_DEUTERIUM), "300");

    Click(dialog, IDOK);
    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    ExpectMainRefreshed({ASTER, VELQUIN}, Commands::Enabled, Commands::Enabled);
}

} // namespace
