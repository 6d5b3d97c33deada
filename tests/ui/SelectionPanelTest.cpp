// The "Select colonies" panel, the same in both calculation dialogs: every case runs in each.
#include "CalculationDialogTest.h"
#include "FailingGlobalAlloc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace
{

using bench::ColonyRecord;
using bench::ComboLines;
using bench::ComboSelection;
using bench::ItemText;
using bench::ListLines;
using Lines = std::vector<std::string>;

const std::vector<ColonyRecord> THREE_COLONIES = {
    {"Mars", 3600, 100, 10}, {"Venus", 7200, 200, 20}, {"Ceres", 10800, 300, 30}};

const char* const NOTHING_TO_ADD = "Please select a colony from the drop-down list !";
const char* const NOTHING_TO_REMOVE =
    "Please select a colony from the drop-down list or select a colony from calculation list!";
const char* const ALREADY_ADDED = "This colony is allready added to the calculation list!";
const char* const NOT_LISTED = "This colony isn't in the calculation colony list.";
const char* const LIST_EMPTY = "Please add some colonies to the calculation list.";

class SelectionPanelTest : public CalculationDialogTest,
                           public ::testing::WithParamInterface<CalculationDialog>
{
};

TEST_P(SelectionPanelTest, OpensWithEveryColonyInListOrderAndTheFirstShown)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ComboLines(dialog, d.colonies), (Lines{"Mars", "Venus", "Ceres"}));
    EXPECT_EQ(ComboSelection(dialog, d.colonies), 0);
    EXPECT_EQ(ItemText(dialog, d.colonies), "Mars");
    EXPECT_EQ(ListLines(dialog, d.selected), Lines{});
    ExpectNoMessage();
}

TEST_P(SelectionPanelTest, WithoutColoniesAddAndRemoveAskForOne)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, {});
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ComboLines(dialog, d.colonies), Lines{});
    EXPECT_EQ(ComboSelection(dialog, d.colonies), CB_ERR);

    Click(dialog, d.add);
    ExpectMessage(dialog, "Error", NOTHING_TO_ADD, MB_ICONEXCLAMATION);
    Click(dialog, d.remove);
    ExpectMessage(dialog, "Error", NOTHING_TO_REMOVE, MB_ICONEXCLAMATION);
    Click(dialog, d.calculate);
    ExpectMessage(dialog, "Error", LIST_EMPTY, MB_ICONEXCLAMATION);
    EXPECT_EQ(ListLines(dialog, d.selected), Lines{});
}

TEST_P(SelectionPanelTest, AddListsTheShownColonyOnceInTheOrderOfAdding)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    SelectComboLine(dialog, d.colonies, 2);
    Click(dialog, d.add);
    ExpectNoMessage();
    SelectComboLine(dialog, d.colonies, 0);
    Click(dialog, d.add);
    ExpectNoMessage();
    EXPECT_EQ(ListLines(dialog, d.selected), (Lines{"Ceres", "Mars"}));

    Click(dialog, d.add);
    ExpectMessage(dialog, "Info", ALREADY_ADDED, MB_ICONASTERISK);
    EXPECT_EQ(ListLines(dialog, d.selected), (Lines{"Ceres", "Mars"}));
    ExpectMetalRate(d, dialog, 10800 + 3600);
}

TEST_P(SelectionPanelTest, NamesDifferingOnlyInCaseCountAsOneForAddButNotForAddAll)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, {{"Alpha", 3600, 0, 0}, {"alpha", 7200, 0, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.add);
    SelectComboLine(dialog, d.colonies, 1);
    Click(dialog, d.add);
    ExpectMessage(dialog, "Info", ALREADY_ADDED, MB_ICONASTERISK);
    EXPECT_EQ(ListLines(dialog, d.selected), Lines{"Alpha"});

    Click(dialog, d.addAll);
    ExpectNoMessage();
    EXPECT_EQ(ListLines(dialog, d.selected), (Lines{"Alpha", "alpha"}));
    // Each entry stands for its own colony.
    ExpectMetalRate(d, dialog, 3600 + 7200);
}

TEST_P(SelectionPanelTest, EveryEntryOfADuplicatedNameCountsTheFirstColonyOfThatName)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, {{"Twin", 3600, 0, 0}, {"Twin", 36000, 0, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.addAll);
    EXPECT_EQ(ListLines(dialog, d.selected), (Lines{"Twin", "Twin"}));
    ExpectMetalRate(d, dialog, 2 * 3600);
}

TEST_P(SelectionPanelTest, AddAllListsEveryColonyOnceWhateverWasListed)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    SelectComboLine(dialog, d.colonies, 2);
    Click(dialog, d.add);
    SelectComboLine(dialog, d.colonies, 0);
    Click(dialog, d.add);
    Click(dialog, d.addAll);
    ExpectNoMessage();
    EXPECT_EQ(ListLines(dialog, d.selected), (Lines{"Mars", "Venus", "Ceres"}));
    ExpectMetalRate(d, dialog, 3600 + 7200 + 10800);
}

TEST_P(SelectionPanelTest, ChoosingAnEntryShowsItsColonySoThatRemoveTakesItOut)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.addAll);
    SelectLine(dialog, d.selected, 1);
    EXPECT_EQ(ComboSelection(dialog, d.colonies), 1);
    EXPECT_EQ(ItemText(dialog, d.colonies), "Venus");

    Click(dialog, d.remove);
    ExpectNoMessage();
    EXPECT_EQ(ListLines(dialog, d.selected), (Lines{"Mars", "Ceres"}));
    // The drop-down keeps showing the colony just removed.
    EXPECT_EQ(ItemText(dialog, d.colonies), "Venus");
    Click(dialog, d.remove);
    ExpectMessage(dialog, "Error", NOT_LISTED, MB_ICONEXCLAMATION);
    EXPECT_EQ(ListLines(dialog, d.selected), (Lines{"Mars", "Ceres"}));
    ExpectMetalRate(d, dialog, 3600 + 10800);
}

TEST_P(SelectionPanelTest, RemoveGoesByTheDropDownNotByTheChosenEntry)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.add);
    SelectLine(dialog, d.selected, 0);
    SelectComboLine(dialog, d.colonies, 2);
    Click(dialog, d.remove);
    ExpectMessage(dialog, "Error", NOT_LISTED, MB_ICONEXCLAMATION);
    EXPECT_EQ(ListLines(dialog, d.selected), Lines{"Mars"});
}

TEST_P(SelectionPanelTest, ClearAllEmptiesTheListWithoutAQuestion)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.addAll);
    SelectComboLine(dialog, d.colonies, 1);
    Click(dialog, d.clearAll);
    ExpectNoMessage();
    EXPECT_EQ(ListLines(dialog, d.selected), Lines{});
    EXPECT_EQ(ComboLines(dialog, d.colonies), (Lines{"Mars", "Venus", "Ceres"}));
    EXPECT_EQ(ComboSelection(dialog, d.colonies), 1);
}

TEST_P(SelectionPanelTest, CalculateWithAnEmptyListKeepsTheEarlierResult)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.add);
    ExpectMetalRate(d, dialog, 3600);
    const std::string probe = ItemText(dialog, d.metalProbe);
    const std::string result = ItemText(dialog, d.metalResult);

    Click(dialog, d.clearAll);
    Click(dialog, d.calculate);
    ExpectMessage(dialog, "Error", LIST_EMPTY, MB_ICONEXCLAMATION);
    EXPECT_EQ(ItemText(dialog, d.metalProbe), probe);
    EXPECT_EQ(ItemText(dialog, d.metalResult), result);
}

TEST_P(SelectionPanelTest, RatesSumModulo2To32)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, {{"Mars", 3600, 0, 0}, {"Venus", 7200, 0, 0}, {"Ceres", 4294963696u, 0, 0}});
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.addAll);
    ExpectMetalRate(d, dialog, 7200);
}

TEST_P(SelectionPanelTest, AColonyNameThatCannotBeReadIsReportedAndNothingChanges)
{
    const CalculationDialog& d = GetParam();
    HWND dialog = Open(d, THREE_COLONIES);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, d.add);
    SelectComboLine(dialog, d.colonies, 1);
    {
        FailingGlobalAlloc noMemory;
        ASSERT_TRUE(noMemory.IsActive());
        Click(dialog, d.add);
        ExpectMessage(dialog, "Error", "Not enough memory to read the colony name!", MB_ICONHAND);
        SelectComboLine(dialog, d.colonies, 0);
        Click(dialog, d.remove);
        ExpectMessage(dialog, "Error", "Not enough memory to read the colony name!", MB_ICONHAND);
    }
    EXPECT_EQ(ListLines(dialog, d.selected), Lines{"Mars"});
    Click(dialog, d.remove);
    ExpectNoMessage();
    EXPECT_EQ(ListLines(dialog, d.selected), Lines{});
}

std::string DialogName(const ::testing::TestParamInfo<CalculationDialog>& dialog)
{
    return dialog.param.name;
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, SelectionPanelTest, ::testing::Values(PRODUCTION_DIALOG, TIME_DIALOG),
                         DialogName);

} // namespace
