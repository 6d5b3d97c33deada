// Lists longer than the quick fill's reservation interval (65,536 lines), and names that come
// back far apart in the list: what the player sees must not depend on how the lines were
// put in. Both calculation dialogs run every case.
#include "CalculationDialogTest.h"

#include <cstdint>
#include <string>
#include <vector>

namespace
{

using bench::ColonyRecord;
using Lines = std::vector<std::string>;

// More lines than one reservation covers, so that the fill reserves again part-way.
constexpr std::uint32_t LONG_LIST = 70000;
// Each colony's metal rate: a multiple of 3600, so that the summed rate shows exactly.
constexpr std::uint32_t METAL_PER_COLONY = 3600;

std::vector<ColonyRecord> LongList()
{
    std::vector<ColonyRecord> colonies;
    for (std::uint32_t i = 0; i < LONG_LIST; ++i)
    {
        colonies.push_back({"Colony " + std::to_string(i + 1), METAL_PER_COLONY, i, 2 * i});
    }
    return colonies;
}

// Reading all 70,000 lines back from another thread takes most of a minute: the lines on
// either side of the first reservation's end, and the ends of the list, are read instead, and
// the summed rate stands for every line's colony.
const std::vector<std::uint32_t> SAMPLED_LINES = {0, 1, 65535, 65536, 65537, LONG_LIST - 1};

Lines SampledNames()
{
    Lines names;
    for (std::uint32_t line : SAMPLED_LINES)
    {
        names.push_back("Colony " + std::to_string(line + 1));
    }
    return names;
}

// The sampled lines of a list box (LB_ messages) or a drop-down (CB_ messages).
Lines SampledLines(HWND parent, int id, UINT getText)
{
    Lines lines;
    for (std::uint32_t line : SAMPLED_LINES)
    {
        char text[64] = {};
        bench::SendWithTimeout(GetDlgItem(parent, id), getText, line, reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

class LongListTest : public CalculationDialogTest, public ::testing::WithParamInterface<CalculationDialog>
{
};

TEST_P(LongListTest, TheDropDownAndAddAllHoldEveryColonyOfALongListInListOrder)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, LongList());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(bench::SendWithTimeout(GetDlgItem(dialog, d.colonies), CB_GETCOUNT), LONG_LIST);
    EXPECT_EQ(SampledLines(dialog, d.colonies, CB_GETLBTEXT), SampledNames());
    EXPECT_EQ(bench::ComboSelection(dialog, d.colonies), 0);

    Click(dialog, d.addAll);
    ExpectNoMessage();
    EXPECT_EQ(bench::SendWithTimeout(GetDlgItem(dialog, d.selected), LB_GETCOUNT), LONG_LIST);
    EXPECT_EQ(SampledLines(dialog, d.selected, LB_GETTEXT), SampledNames());
    ExpectMetalRate(d, dialog, LONG_LIST * METAL_PER_COLONY);
}

// Every line of a repeated name stands for the first colony of exactly that name, wherever the
// repeats stand; a name differing only in letter case is a colony of its own.
TEST_P(LongListTest, AddAllGivesEachLineTheFirstColonyOfItsExactName)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, {{"Twin", 3600, 0, 0},
                           {"Other", 7200, 0, 0},
                           {"twin", 36000, 0, 0},
                           {"Twin", 360000, 0, 0},
                           {"Other", 720000, 0, 0},
                           {"Twin", 3600000, 0, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.addAll);
    ExpectNoMessage();
    EXPECT_EQ(bench::ListLines(dialog, d.selected),
              (Lines{"Twin", "Other", "twin", "Twin", "Other", "Twin"}));
    ExpectMetalRate(d, dialog, 3 * 3600 + 2 * 7200 + 36000);
}

std::string DialogName(const ::testing::TestParamInfo<CalculationDialog>& dialog)
{
    return dialog.param.name;
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, LongListTest, ::testing::Values(PRODUCTION_DIALOG, TIME_DIALOG),
                         DialogName);

} // namespace
