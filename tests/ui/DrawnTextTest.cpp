// What the player sees: the lines and texts of the main window and the dialogs' lists as they
// are drawn on screen, after each change a user makes. Reading them back from the controls
// would pass even when nothing reached the screen.

#include "ColonyDialogTest.h"
#include "bench/Drawn.h"

#include <functional>

namespace
{

const Colonies THREE = {
    {"Velquin Prime", 1500, 800, 300},
    {"Ashgar", 1000, 600, 0},
    {"Tor Hollow", 0, 4294967295u, 7},
};

Lines NamesOf(const Colonies& colonies)
{
    Lines names;
    for (const Colony& colony : colonies)
    {
        names.push_back(colony.name);
    }
    return names;
}

class DrawnTextTest : public ColonyDialogTest
{
protected:
    void ExpectListDrawn(HWND parent, int listId, const Lines& lines, int selected = -1)
    {
        const HWND list = GetDlgItem(parent, listId);
        ASSERT_NE(list, nullptr);
        const bench::DrawnComparison drawn =
            bench::WaitDrawn(parent, [&] { return bench::ListBoxDrawn(list, lines, selected); });
        EXPECT_TRUE(drawn.same) << "list " << listId << ": " << drawn.difference;
    }

    void ExpectStaticDrawn(HWND parent, int id, const std::string& text)
    {
        const HWND control = GetDlgItem(parent, id);
        ASSERT_NE(control, nullptr);
        const bench::DrawnComparison drawn =
            bench::WaitDrawn(parent, [&] { return bench::StaticTextDrawn(control, text); });
        EXPECT_TRUE(drawn.same) << "control " << id << " (\"" << text << "\"): " << drawn.difference;
    }

    void ExpectStatusDrawn(const std::string& text)
    {
        const HWND bar = GetDlgItem(m_main, IDC_STATUSBAR);
        ASSERT_NE(bar, nullptr);
        const bench::DrawnComparison drawn =
            bench::WaitDrawn(m_main, [&] { return bench::StatusBarDrawn(bar, text); });
        EXPECT_TRUE(drawn.same) << "status bar (\"" << text << "\"): " << drawn.difference;
    }

    // Fills the Add colony dialog and presses OK.
    void Add(const Colony& colony)
    {
        HWND dialog = Open(IDM_ADDCOLONY, "Add colony");
        ASSERT_NE(dialog, nullptr);
        Type(dialog, IDC_ADD_NAME, colony.name);
        Type(dialog, IDC_ADD_METAL, std::to_string(colony.metal));
        Type(dialog, IDC_ADD_CRYSTAL, std::to_string(colony.crystal));
        Type(dialog, IDC_ADD_DEUTERIUM, std::to_string(colony.deuterium));
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
    }

    // Renames the colony of a line through the Modify button, Apply and Done.
    void Rename(int line, const std::string& name)
    {
        SelectColonyLine(line);
        ASSERT_TRUE(m_session.Click(m_main, IDC_MODIFYBUTTON));
        HWND dialog = m_session.WaitDialog("Modify colony data");
        ASSERT_NE(dialog, nullptr);
        Type(dialog, IDC_NEW_NAME, name);
        Click(dialog, IDC_APPLY);
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
    }

    // Deletes a colony by name through the Delete colony dialog.
    void Delete(const std::string& name)
    {
        HWND dialog = Open(IDM_DELETECOLONY, "Delete colony");
        ASSERT_NE(dialog, nullptr);
        Type(dialog, IDC_DELETE_NAME, name);
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
    }
};

// Each step changes what the main window shows; after each, its list, its three rate fields
// and its status bar must show on screen what the step left there.
TEST_F(DrawnTextTest, TheMainWindowShowsItsLinesRatesAndTotalsAfterEachChange)
{
    struct Step
    {
        const char* what;
        std::function<void()> act;
        Lines lines;
        int selected;
        Lines rates;
        std::string status;
    };
    const Lines NO_RATES = {"", "", ""};
    const Step steps[] = {
        {"start", [] {}, {}, -1, NO_RATES, STANDING_BY},
        {"File, Load data", [this] { Load(THREE); }, NamesOf(THREE), -1, NO_RATES,
         TotalsLine(2500, 1399, 307)},
        {"a line selected",
         [this] { SelectColonyLine(2); },
         NamesOf(THREE),
         2,
         {"0", "4294967295", "7"},
         TotalsLine(2500, 1399, 307)},
        {"Add colony",
         [this] {
             Add({"Orrin Deep", 20, 30, 40});
         },
         {"Velquin Prime", "Ashgar", "Tor Hollow", "Orrin Deep"},
         -1,
         NO_RATES,
         TotalsLine(2520, 1429, 347)},
        {"Modify colony",
         [this] { Rename(1, "Ashgar Reach"); },
         {"Velquin Prime", "Ashgar Reach", "Tor Hollow", "Orrin Deep"},
         -1,
         NO_RATES,
         TotalsLine(2520, 1429, 347)},
        {"Delete colony",
         [this] { Delete("Velquin Prime"); },
         {"Ashgar Reach", "Tor Hollow", "Orrin Deep"},
         -1,
         NO_RATES,
         TotalsLine(1020, 629, 47)},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.what);
        ASSERT_NO_FATAL_FAILURE(step.act());
        ASSERT_TRUE(m_session.Sync());
        ExpectListDrawn(m_main, IDC_COLONYLIST, step.lines, step.selected);
        const int rateIds[] = {IDC_METALRATE, IDC_CRYSTALRATE, IDC_DEUTERIUMRATE};
        for (std::size_t i = 0; i < step.rates.size(); ++i)
        {
            ExpectStaticDrawn(m_main, rateIds[i], step.rates[i]);
        }
        ExpectStatusDrawn(step.status);
    }
}

TEST_F(DrawnTextTest, ViewColoniesShowsAnOverviewLinePerColonyAndTheDailyTotals)
{
    Load(THREE);
    HWND dialog = Open(IDM_VIEWCOLONIES, "View colonies");
    ASSERT_NE(dialog, nullptr);
    ExpectListDrawn(dialog, IDC_OVERVIEW_LIST,
                    {"Velquin Prime (Metal/h: 1500 Crystal/h: 800 Deuterium/h: 300)",
                     "Ashgar (Metal/h: 1000 Crystal/h: 600 Deuterium/h: 0)",
                     "Tor Hollow (Metal/h: 0 Crystal/h: 4294967295 Deuterium/h: 7)"});
    ExpectStaticDrawn(dialog, IDC_DAILY_METAL, "Daily production of metal          : 60000");
    // 1399 * 24 wraps at 2^32 like every other amount.
    ExpectStaticDrawn(dialog, IDC_DAILY_CRYSTAL, "Daily production of crystal        : 33576");
    ExpectStaticDrawn(dialog, IDC_DAILY_DEUTERIUM, "Daily production of deuterium   : 7368");
    Click(dialog, IDOK);
    EXPECT_TRUE(m_session.WaitGone(dialog));
}

TEST_F(DrawnTextTest, TheCalculationDialogsShowEveryColonyAfterAddAll)
{
    const struct
    {
        int command;
        const char* caption;
        int addAll;
        int selected;
    } dialogs[] = {
        {IDM_PRODUCTION, "Production calculation", IDC_PROD_ADDALL, IDC_PROD_SELECTED},
        {IDM_TIME, "Time calculation", IDC_TIME_ADDALL, IDC_TIME_SELECTED},
    };
    Load(THREE);
    for (const auto& calculation : dialogs)
    {
        SCOPED_TRACE(calculation.caption);
        HWND dialog = Open(calculation.command, calculation.caption);
        ASSERT_NE(dialog, nullptr);
        ExpectListDrawn(dialog, calculation.selected, {});
        Click(dialog, calculation.addAll);
        ExpectNoMessage();
        ExpectListDrawn(dialog, calculation.selected, NamesOf(THREE));
        Click(dialog, IDOK);
        EXPECT_TRUE(m_session.WaitGone(dialog));
    }
}

} // namespace
