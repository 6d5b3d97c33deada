#include "ColonyDialogTest.h"

namespace
{

const char* const METAL_LABEL = "Daily production of metal          : ";
const char* const CRYSTAL_LABEL = "Daily production of crystal        : ";
const char* const DEUTERIUM_LABEL = "Daily production of deuterium   : ";

class ViewColoniesDialogTest : public ColonyDialogTest
{
protected:
    HWND OpenView() { return Open(IDM_VIEWCOLONIES, "View colonies"); }

    void ExpectDaily(HWND dialog, const std::string& metal, const std::string& crystal,
                     const std::string& deuterium)
    {
        EXPECT_EQ(bench::ItemText(dialog, IDC_DAILY_METAL), METAL_LABEL + metal);
        EXPECT_EQ(bench::ItemText(dialog, IDC_DAILY_CRYSTAL), CRYSTAL_LABEL + crystal);
        EXPECT_EQ(bench::ItemText(dialog, IDC_DAILY_DEUTERIUM), DEUTERIUM_LABEL + deuterium);
    }

    void Done(HWND dialog)
    {
        Click(dialog, IDOK);
        EXPECT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
    }
};

// One line per colony in list order, names as stored whatever they hold, and 24 times the
// hourly totals.
TEST_F(ViewColoniesDialogTest, ShowsEveryColonyAndTheDailyTotals)
{
    Load({{"Alpha", 1200, 600, 300},
          {"Beta", 0, 0, 0},
          {"  (Gamma) Deep Moon ", 1000, 500, 4294967295u},
          {"alpha", 500, 7, 1}});
    HWND dialog = OpenView();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(bench::ListLines(dialog, IDC_OVERVIEW_LIST),
              Lines({"Alpha (Metal/h: 1200 Crystal/h: 600 Deuterium/h: 300)",
                     "Beta (Metal/h: 0 Crystal/h: 0 Deuterium/h: 0)",
                     "  (Gamma) Deep Moon  (Metal/h: 1000 Crystal/h: 500 Deuterium/h: 4294967295)",
                     "alpha (Metal/h: 500 Crystal/h: 7 Deuterium/h: 1)"}));
    // Deuterium: 300 + 4294967295 + 1 per hour wraps to 300, and 24 * 300 = 7200.
    ExpectDaily(dialog, "64800", "26568", "7200");
    Done(dialog);
}

// The daily figure is formed in 32 bits like every amount: 24 * 200000000 = 4800000000,
// shown modulo 2^32.
TEST_F(ViewColoniesDialogTest, DailyTotalsWrapModuloTwoToThe32)
{
    Load({{"Big", 200000000, 178956970, 178956971}});
    HWND dialog = OpenView();
    ASSERT_NE(dialog, nullptr);
    ExpectDaily(dialog, "505032704", "4294967280", "8");
    Done(dialog);
}

// On an empty list (the menu item is greyed then, but the command can still arrive) the
// overview is empty, each total is 0, and the status bar leaves its start-up text for the
// totals line.
TEST_F(ViewColoniesDialogTest, AnEmptyListShowsNoLinesAndZeroTotals)
{
    ASSERT_EQ(StatusText(), STANDING_BY);
    m_session.PostCommand(IDM_VIEWCOLONIES);
    HWND dialog = m_session.WaitDialog("View colonies");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(bench::ListLines(dialog, IDC_OVERVIEW_LIST).empty());
    ExpectDaily(dialog, "0", "0", "0");
    Done(dialog);
    EXPECT_EQ(StatusText(), TotalsLine(0, 0, 0));
    EXPECT_EQ(ListCommands(), Commands::Greyed);
}

// The list box is not sorted and scrolls when the lines do not fit; a line wider than the
// box is cut off, as no horizontal extent is set.
TEST_F(ViewColoniesDialogTest, ManyColoniesScrollInListOrder)
{
    Colonies colonies;
    Lines lines;
    for (int i = 20; i >= 1; --i)
    {
        colonies.push_back({"Colony " + std::to_string(i), static_cast<std::uint32_t>(i), 0, 0});
        lines.push_back("Colony " + std::to_string(i) + " (Metal/h: " + std::to_string(i) +
                        " Crystal/h: 0 Deuterium/h: 0)");
    }
    Load(colonies);
    HWND dialog = OpenView();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(bench::ListLines(dialog, IDC_OVERVIEW_LIST), lines);
    const LONG style = GetWindowLongA(GetDlgItem(dialog, IDC_OVERVIEW_LIST), GWL_STYLE);
    EXPECT_NE(style & WS_VSCROLL, 0);
    EXPECT_EQ(style & WS_HSCROLL, 0);
    ExpectDaily(dialog, "5040", "0", "0");
    Done(dialog);
}

TEST_F(ViewColoniesDialogTest, ItChangesNeitherTheListNorItsCursor)
{
    const Colonies colonies = {{"Alpha", 1200, 600, 300}, {"Beta", 100, 50, 25}, {"Gamma", 1, 2, 3}};
    Load(colonies);
    SelectColonyLine(2);
    Click(m_main, IDC_MODIFYBUTTON);
    HWND modify = m_session.WaitDialog("Modify colony data");
    ASSERT_NE(modify, nullptr);
    Click(modify, IDOK);
    ASSERT_TRUE(m_session.WaitGone(modify));
    ASSERT_EQ(CursorName(), "Gamma");

    HWND dialog = OpenView();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(m_session.SelectLine(dialog, IDC_OVERVIEW_LIST, 0));
    Done(dialog);
    EXPECT_EQ(ListContent(), colonies);
    EXPECT_EQ(CursorName(), "Gamma");
}

} // namespace
