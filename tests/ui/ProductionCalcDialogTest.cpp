// The Production calculation dialog: what the listed colonies produce over a typed span.
#include "CalculationDialogTest.h"

#include <string>
#include <vector>

namespace
{

using bench::ItemText;

const CalculationDialog& D = PRODUCTION_DIALOG;

const int TIME_FIELDS[] = {IDC_PROD_DAYS, IDC_PROD_HOURS, IDC_PROD_MINUTES, IDC_PROD_SECONDS};

struct Span
{
    const char* days;
    const char* hours;
    const char* minutes;
    const char* seconds;
};

struct Produced
{
    std::string metal;
    std::string crystal;
    std::string deuterium;
    bool operator==(const Produced& other) const
    {
        return metal == other.metal && crystal == other.crystal && deuterium == other.deuterium;
    }
};

std::ostream& operator<<(std::ostream& out, const Produced& produced)
{
    return out << produced.metal << " / " << produced.crystal << " / " << produced.deuterium;
}

class ProductionCalcDialogTest : public CalculationDialogTest
{
protected:
    void EnterSpan(HWND dialog, const Span& span)
    {
        const char* const parts[] = {span.days, span.hours, span.minutes, span.seconds};
        for (int i = 0; i < 4; ++i)
        {
            SetText(dialog, TIME_FIELDS[i], parts[i]);
        }
    }

    Produced Shown(HWND dialog)
    {
        return {ItemText(dialog, IDC_PROD_METAL), ItemText(dialog, IDC_PROD_CRYSTAL),
                ItemText(dialog, IDC_PROD_DEUTERIUM)};
    }

    // One colony with these rates, listed, over the span.
    Produced Calculate(const bench::ColonyRecord& colony, const Span& span)
    {
        HWND dialog = Open(D, {colony});
        if (dialog == nullptr)
        {
            return {};
        }
        Click(dialog, IDC_PROD_ADDALL);
        EnterSpan(dialog, span);
        Click(dialog, IDC_PROD_CALCULATE);
        ExpectNoMessage();
        const Produced shown = Shown(dialog);
        Click(dialog, IDOK);
        EXPECT_TRUE(m_session.WaitGone(dialog));
        return shown;
    }
};

TEST_F(ProductionCalcDialogTest, ShowsWhatTheListedColoniesProduceOverTheSpan)
{
    struct Case
    {
        bench::ColonyRecord colony;
        Span span;
        Produced shown;
    };
    const Case cases[] = {
        {{"Mars", 1000, 500, 0}, {"", "", "", ""}, {"0", "0", "0"}},
        {{"Mars", 1000, 500, 0}, {"1", "", "", ""}, {"24000", "12000", "0"}},
        {{"Mars", 0, 3600, 1000}, {"", "1", "", ""}, {"0", "3600", "1000"}},
        {{"Mars", 1000, 0, 0}, {"", "1", "", "1"}, {"1000", "0", "0"}},
        {{"Mars", 1, 1, 1}, {"", "", "", "1"}, {"0", "0", "0"}},
        // Single precision: one below the exact 2073960.
        {{"Mars", 12345, 0, 0}, {"7", "", "", ""}, {"2073959", "0", "0"}},
        // At 3600 per hour the result is the span in seconds.
        {{"Mars", 3600, 0, 0}, {"", "23", "59", "59"}, {"86399", "0", "0"}},
        {{"Mars", 3600, 0, 0}, {"", "007", "", ""}, {"25200", "0", "0"}},
        {{"Mars", 3600, 0, 0}, {"49711", "", "", ""}, {"63104", "0", "0"}},
        {{"Mars", 3600, 0, 0}, {"194", "4", "20", "17"}, {"16777216", "0", "0"}},
        // Pasted text that is no number counts as 0.
        {{"Mars", 3600, 0, 0}, {"x", "1", "", ""}, {"3600", "0", "0"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.span.days) + ":" + c.span.hours + ":" + c.span.minutes + ":" +
                     c.span.seconds + " at " + std::to_string(c.colony.metal));
        EXPECT_EQ(Calculate(c.colony, c.span), c.shown);
    }
}

TEST_F(ProductionCalcDialogTest, RefusesAnImpossibleTimeAndKeepsTheEarlierResults)
{
    struct Case
    {
        Span span;
        const char* message;
    };
    const char* const hours = "Invalid time entry. Hours must be less than or equal to 23.";
    const char* const minutes = "Invalid time entry. Minutes must be less than or equal to 59.";
    const char* const seconds = "Invalid time entry. Seconds must be less than or equal to 59.";
    const Case cases[] = {
        {{"1", "24", "", ""}, hours},      {{"1", "", "60", ""}, minutes},
        {{"1", "", "", "60"}, seconds},    {{"", "24", "99", "99"}, hours},
        {{"", "23", "60", "60"}, minutes}, {{"", "4294967295", "", ""}, hours},
    };
    HWND dialog = Open(D, {{"Mars", 1000, 500, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_PROD_ADDALL);
    EnterSpan(dialog, {"1", "", "", ""});
    Click(dialog, IDC_PROD_CALCULATE);
    ASSERT_EQ(Shown(dialog), (Produced{"24000", "12000", "0"}));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.span.days) + ":" + c.span.hours + ":" + c.span.minutes + ":" +
                     c.span.seconds);
        EnterSpan(dialog, c.span);
        Click(dialog, IDC_PROD_CALCULATE);
        ExpectMessage(dialog, "Error", c.message, MB_ICONEXCLAMATION);
        EXPECT_EQ(Shown(dialog), (Produced{"24000", "12000", "0"}));
        EXPECT_EQ(ItemText(dialog, IDC_PROD_HOURS), c.span.hours);
    }
}

TEST_F(ProductionCalcDialogTest, ReopeningStartsEmpty)
{
    HWND dialog = Open(D, {{"Mars", 1000, 500, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_PROD_ADDALL);
    EnterSpan(dialog, {"1", "", "", ""});
    Click(dialog, IDC_PROD_CALCULATE);
    Click(dialog, IDOK);
    ASSERT_TRUE(m_session.WaitGone(dialog));

    m_session.PostCommand(IDM_PRODUCTION);
    dialog = m_session.WaitDialog(D.caption);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(bench::ListLines(dialog, IDC_PROD_SELECTED), std::vector<std::string>{});
    EXPECT_EQ(ItemText(dialog, IDC_PROD_DAYS), "");
    EXPECT_EQ(ItemText(dialog, IDC_PROD_METAL), "");
}

} // namespace

// Days have no upper bound, so their narrow field scrolls instead of stopping at what fits.
TEST_F(ProductionCalcDialogTest, DaysFieldTakesAsManyDigitsAsAreTyped)
{
    HWND dialog = Open(D, {{"Mars", 3600, 0, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_PROD_ADDALL);
    m_session.Type(dialog, IDC_PROD_DAYS, "49711");
    ASSERT_TRUE(m_session.Sync());
    EXPECT_EQ(ItemText(dialog, IDC_PROD_DAYS), "49711");
    Click(dialog, IDC_PROD_CALCULATE);
    ExpectNoMessage();
    EXPECT_EQ(Shown(dialog), (Produced{"63104", "0", "0"}));
}
