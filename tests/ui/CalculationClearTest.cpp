// Clear in both calculation dialogs: every entry and every result emptied, the colonies
// chosen for the calculation kept.
#include "CalculationDialogTest.h"

#include <string>
#include <vector>

namespace
{

using Lines = std::vector<std::string>;

class CalculationClearTest : public CalculationDialogTest,
                             public ::testing::WithParamInterface<CalculationDialog>
{
};

TEST_P(CalculationClearTest, EmptiesTheEntriesAndTheResultsAndKeepsTheList)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, {{"Mars", 1000, 500, 7}, {"Venus", 3600, 7200, 10800}});
    ASSERT_NE(dialog, nullptr);
    SelectComboLine(dialog, d.colonies, 1);
    Click(dialog, d.add);
    // A 1 in every entry is a span both dialogs accept and amounts above the supplies.
    for (int entry : d.entries)
    {
        SetText(dialog, entry, entry == d.metalProbe ? "2" : "1");
    }
    Click(dialog, d.calculate);
    ExpectNoMessage();
    for (int result : d.results)
    {
        ASSERT_NE(bench::ItemText(dialog, result), "") << result;
    }

    Click(dialog, d.clear);
    ExpectNoMessage();
    for (int entry : d.entries)
    {
        EXPECT_EQ(bench::ItemText(dialog, entry), "") << entry;
    }
    for (int result : d.results)
    {
        EXPECT_EQ(bench::ItemText(dialog, result), "") << result;
    }
    EXPECT_EQ(bench::ListLines(dialog, d.selected), Lines{"Venus"});
    EXPECT_EQ(bench::ComboSelection(dialog, d.colonies), 1);
    EXPECT_EQ(bench::ItemText(dialog, d.colonies), "Venus");
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, CalculationClearTest, ::testing::Values(PRODUCTION_DIALOG, TIME_DIALOG),
                         [](const ::testing::TestParamInfo<CalculationDialog>& dialog)
                         { return std::string(dialog.param.name); });

} // namespace
