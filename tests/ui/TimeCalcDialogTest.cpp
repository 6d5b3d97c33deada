// The Time calculation dialog: how long the listed colonies need for the wanted amounts.
#include "CalculationDialogTest.h"

#include <string>
#include <vector>

namespace
{

using bench::ItemText;

const CalculationDialog& D = TIME_DIALOG;

const int AMOUNT_FIELDS[] = {IDC_TIME_AMOUNT_METAL, IDC_TIME_AMOUNT_CRYSTAL, IDC_TIME_AMOUNT_DEUTERIUM};
const int SUPPLY_FIELDS[] = {IDC_TIME_SUPPLY_METAL, IDC_TIME_SUPPLY_CRYSTAL, IDC_TIME_SUPPLY_DEUTERIUM};

// Metal, crystal, deuterium.
using Three = std::vector<std::string>;

class TimeCalcDialogTest : public CalculationDialogTest
{
protected:
    void Enter(HWND dialog, const Three& amounts, const Three& supplies)
    {
        for (int i = 0; i < 3; ++i)
        {
            SetText(dialog, AMOUNT_FIELDS[i], amounts[i]);
            SetText(dialog, SUPPLY_FIELDS[i], supplies[i]);
        }
    }

    Three Shown(HWND dialog)
    {
        return {ItemText(dialog, IDC_TIME_METAL), ItemText(dialog, IDC_TIME_CRYSTAL),
                ItemText(dialog, IDC_TIME_DEUTERIUM)};
    }
};

TEST_F(TimeCalcDialogTest, ShowsTheTimeToFinishOfEachResource)
{
    struct Case
    {
        bench::ColonyRecord colony;
        Three amounts;
        Three supplies;
        Three shown;
    };
    const Case cases[] = {
        {{"Mars", 1000, 500, 0}, {"", "", ""}, {"", "", ""}, {"00:00:00", "00:00:00", "00:00:00"}},
        {{"Mars", 1000, 1, 1},
         {"2000", "24", "48"},
         {"1000", "", ""},
         {"01:00:00", "1 day 00:00:00", "2 days 00:00:00"}},
        {{"Mars", 7, 30000, 1000},
         {"100", "1000000", "1"},
         {"", "12345", ""},
         {"14:17:08", "1 day 08:55:18", "00:00:03"}},
        // Nothing produces deuterium; the metal is in stock already; crystal is just covered.
        {{"Mars", 1000, 1000, 0}, {"5", "10", "10"}, {"10", "10", "0"}, {"00:00:00", "00:00:00", "00:00:00"}},
        {{"Mars", 3600, 1, 0},
         {"16777217", "4294967295", ""},
         {"", "", ""},
         {"194 days 04:20:16", "00:00:00", "00:00:00"}},
        // Pasted text that is no number counts as 0.
        {{"Mars", 1000, 0, 0}, {"2000", "", ""}, {"x", "", ""}, {"02:00:00", "00:00:00", "00:00:00"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("amounts " + c.amounts[0] + "/" + c.amounts[1] + "/" + c.amounts[2]);
        HWND dialog = Open(D, {c.colony});
        ASSERT_NE(dialog, nullptr);
        Click(dialog, IDC_TIME_ADD);
        Enter(dialog, c.amounts, c.supplies);
        Click(dialog, IDC_TIME_CALCULATE);
        ExpectNoMessage();
        EXPECT_EQ(Shown(dialog), c.shown);
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
    }
}

TEST_F(TimeCalcDialogTest, SumsTheListedColoniesPerResource)
{
    HWND dialog = Open(D, {{"Mars", 400, 1, 0}, {"Venus", 600, 0, 0}, {"Ceres", 1, 1, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_TIME_ADD);
    SelectComboLine(dialog, IDC_TIME_COLONY, 1);
    Click(dialog, IDC_TIME_ADD);
    Enter(dialog, {"2000", "24", "10"}, {"1000", "", ""});
    Click(dialog, IDC_TIME_CALCULATE);
    EXPECT_EQ(Shown(dialog), (Three{"01:00:00", "1 day 00:00:00", "00:00:00"}));

    // A second press recomputes from what the controls hold now.
    Click(dialog, IDC_TIME_ADDALL);
    Click(dialog, IDC_TIME_CALCULATE);
    EXPECT_EQ(Shown(dialog), (Three{"00:59:56", "12:00:00", "00:00:00"}));
}

} // namespace
