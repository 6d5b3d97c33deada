// The ways out of every dialog: OK or Done, Cancel, Enter, Escape and the close box, each
// closing the dialog with result 1 (the main window acts on it), closing it with result 2
// (nothing changes), or ignored (the dialog stays open and modal). What the main window
// shows afterwards tells the results apart.
#include "ColonyDialogTest.h"

namespace
{

const Colony MARS = {"Mars", 1500, 800, 300};
const Colony VENUS = {"Venus", 1000, 600, 0};
const Colony TITAN = {"Titan", 20, 7, 5};
const Colonies THREE = {MARS, VENUS, TITAN};
const Colony VELQUIN = {"Velquin Prime", 1, 2, 3};

// What result 1 makes the main window do.
enum class OnDone
{
    Refresh,    // the list box and totals rebuilt from the list, selection and rates emptied
    TotalsOnly, // the totals written into the status bar; selection and rates stay
    Nothing
};

struct Dialog
{
    const char* caption;
    int command;
    // What the user typed before leaving: (control, text); it must not take effect unless
    // the dialog accepts it.
    std::vector<std::pair<int, std::string>> typed;
    OnDone onDone;
    Colonies afterDone; // the list after result 1
};

const Dialog ABOUT = {"About", IDM_ABOUT, {}, OnDone::Nothing, THREE};
const Dialog ADD = {
    "Add colony",
    IDM_ADDCOLONY,
    {{IDC_ADD_NAME, VELQUIN.name}, {IDC_ADD_METAL, "1"}, {IDC_ADD_CRYSTAL, "2"}, {IDC_ADD_DEUTERIUM, "3"}},
    OnDone::Refresh,
    {MARS, VENUS, TITAN, VELQUIN}};
// Typed but not applied: lost whichever way the dialog ends.
const Dialog MODIFY = {
    "Modify colony data",
    IDM_MODIFYCOLONY,
    {{IDC_NEW_NAME, "Rhea"}, {IDC_NEW_METAL, "9"}, {IDC_NEW_CRYSTAL, "9"}, {IDC_NEW_DEUTERIUM, "9"}},
    OnDone::Refresh,
    THREE};
const Dialog DELETE_BY_NAME = {
    "Delete colony", IDM_DELETECOLONY, {{IDC_DELETE_NAME, "Venus"}}, OnDone::Refresh, {MARS, TITAN}};
const Dialog VIEW = {"View colonies", IDM_VIEWCOLONIES, {}, OnDone::TotalsOnly, THREE};
const Dialog PRODUCTION = {
    "Production calculation", IDM_PRODUCTION, {{IDC_PROD_DAYS, "1"}}, OnDone::Nothing, THREE};
const Dialog TIME = {"Time calculation", IDM_TIME, {{IDC_TIME_AMOUNT_METAL, "2000"}}, OnDone::Nothing, THREE};

enum class Way
{
    OkOrDone,
    Cancel, // the Cancel button where there is one, else the cancel command it would send
    Enter,
    Escape,
    CloseBox
};

enum class Outcome
{
    Done,      // closes with result 1
    Cancelled, // closes with result 2
    StaysOpen
};

struct WayOut
{
    const char* name; // for test names
    const Dialog* dialog;
    Way way;
    int focus; // the control that has the focus for Enter and Escape; 0: as the dialog opens
    Outcome outcome;
};

void PrintTo(const WayOut& wayOut, std::ostream* out)
{
    *out << wayOut.name;
}

const WayOut WAYS_OUT[] = {
    {"AboutOk", &ABOUT, Way::OkOrDone, 0, Outcome::Done},
    {"AboutEnter", &ABOUT, Way::Enter, 0, Outcome::Done},
    {"AboutCancelCommand", &ABOUT, Way::Cancel, 0, Outcome::StaysOpen},
    {"AboutEscape", &ABOUT, Way::Escape, 0, Outcome::StaysOpen},
    {"AboutCloseBox", &ABOUT, Way::CloseBox, 0, Outcome::StaysOpen},

    {"AddOk", &ADD, Way::OkOrDone, 0, Outcome::Done},
    {"AddEnterInName", &ADD, Way::Enter, IDC_ADD_NAME, Outcome::Done},
    {"AddEnterInMetal", &ADD, Way::Enter, IDC_ADD_METAL, Outcome::Done},
    {"AddEnterInDeuterium", &ADD, Way::Enter, IDC_ADD_DEUTERIUM, Outcome::Done},
    {"AddCancel", &ADD, Way::Cancel, 0, Outcome::Cancelled},
    {"AddEscapeInMetal", &ADD, Way::Escape, IDC_ADD_METAL, Outcome::Cancelled},
    {"AddCloseBox", &ADD, Way::CloseBox, 0, Outcome::Cancelled},

    {"ModifyDone", &MODIFY, Way::OkOrDone, 0, Outcome::Done},
    {"ModifyEnterInName", &MODIFY, Way::Enter, IDC_NEW_NAME, Outcome::Done},
    {"ModifyCancelCommand", &MODIFY, Way::Cancel, 0, Outcome::StaysOpen},
    {"ModifyEscapeInCrystal", &MODIFY, Way::Escape, IDC_NEW_CRYSTAL, Outcome::StaysOpen},
    {"ModifyCloseBox", &MODIFY, Way::CloseBox, 0, Outcome::StaysOpen},

    {"DeleteOk", &DELETE_BY_NAME, Way::OkOrDone, 0, Outcome::Done},
    {"DeleteEnterInName", &DELETE_BY_NAME, Way::Enter, IDC_DELETE_NAME, Outcome::Done},
    {"DeleteCancel", &DELETE_BY_NAME, Way::Cancel, 0, Outcome::Cancelled},
    {"DeleteEscapeInName", &DELETE_BY_NAME, Way::Escape, IDC_DELETE_NAME, Outcome::Cancelled},
    {"DeleteCloseBox", &DELETE_BY_NAME, Way::CloseBox, 0, Outcome::Cancelled},

    {"ViewDone", &VIEW, Way::OkOrDone, 0, Outcome::Done},
    {"ViewEnter", &VIEW, Way::Enter, 0, Outcome::Done},
    {"ViewCancelCommand", &VIEW, Way::Cancel, 0, Outcome::StaysOpen},
    {"ViewEscape", &VIEW, Way::Escape, 0, Outcome::StaysOpen},
    {"ViewCloseBox", &VIEW, Way::CloseBox, 0, Outcome::StaysOpen},

    {"ProductionDone", &PRODUCTION, Way::OkOrDone, 0, Outcome::Done},
    {"ProductionEnterInDays", &PRODUCTION, Way::Enter, IDC_PROD_DAYS, Outcome::Done},
    {"ProductionCancelCommand", &PRODUCTION, Way::Cancel, 0, Outcome::Cancelled},
    {"ProductionEscape", &PRODUCTION, Way::Escape, 0, Outcome::Cancelled},
    {"ProductionCloseBox", &PRODUCTION, Way::CloseBox, 0, Outcome::Cancelled},

    {"TimeDone", &TIME, Way::OkOrDone, 0, Outcome::Done},
    {"TimeEnterInMetalAmount", &TIME, Way::Enter, IDC_TIME_AMOUNT_METAL, Outcome::Done},
    {"TimeCancelCommand", &TIME, Way::Cancel, 0, Outcome::Cancelled},
    {"TimeEscape", &TIME, Way::Escape, 0, Outcome::Cancelled},
    {"TimeCloseBox", &TIME, Way::CloseBox, 0, Outcome::Cancelled},
};

class DialogWayOutTest : public ColonyDialogTest, public ::testing::WithParamInterface<WayOut>
{
protected:
    void Leave(HWND dialog, const WayOut& wayOut)
    {
        if (wayOut.focus != 0)
        {
            Focus(dialog, wayOut.focus);
        }
        switch (wayOut.way)
        {
            case Way::OkOrDone:
                Click(dialog, IDOK);
                break;
            case Way::Cancel:
                if (bench::HasItem(dialog, IDCANCEL))
                {
                    Click(dialog, IDCANCEL);
                }
                else
                {
                    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                }
                break;
            case Way::Enter:
                Press(dialog, VK_RETURN);
                break;
            case Way::Escape:
                Press(dialog, VK_ESCAPE);
                break;
            case Way::CloseBox:
                CloseBox(dialog);
                break;
        }
    }
};

// Over three loaded colonies with the second one's line selected, and the status bar
// emptied so that a rewrite of the totals shows.
TEST_P(DialogWayOutTest, EndsAsTheTableSays)
{
    const WayOut& wayOut = GetParam();
    const Dialog& d = *wayOut.dialog;
    Load(THREE);
    SelectColonyLine(1);
    const Lines rates = RateFields();
    ASSERT_EQ(rates, Lines({"1000", "600", "0"}));
    ASSERT_TRUE(SetWindowTextA(GetDlgItem(m_main, IDC_STATUSBAR), ""));
    ASSERT_EQ(StatusText(), "");

    HWND dialog = Open(d.command, d.caption);
    ASSERT_NE(dialog, nullptr);
    for (const auto& [id, text] : d.typed)
    {
        Type(dialog, id, text);
    }
    Leave(dialog, wayOut);

    if (wayOut.outcome == Outcome::StaysOpen)
    {
        EXPECT_TRUE(StaysOpen(dialog));
        EXPECT_FALSE(IsWindowEnabled(m_main)) << "the dialog must still be modal";
        for (const auto& [id, text] : d.typed)
        {
            EXPECT_EQ(bench::ItemText(dialog, id), text) << "nothing typed is lost meanwhile";
        }
        ExpectNoMessage();
        EXPECT_EQ(ListContent(), THREE);
        EXPECT_EQ(StatusText(), "");
        return;
    }

    EXPECT_TRUE(m_session.WaitGone(dialog));
    ExpectNoMessage();
    EXPECT_TRUE(bench::WaitUntil([&] { return IsWindowEnabled(m_main) != FALSE; }));
    const OnDone effect = wayOut.outcome == Outcome::Done ? d.onDone : OnDone::Nothing;
    const Colonies after = wayOut.outcome == Outcome::Done ? d.afterDone : THREE;
    switch (effect)
    {
        case OnDone::Refresh:
            ExpectMainRefreshed(after, Commands::Enabled, Commands::Enabled);
            break;
        case OnDone::TotalsOnly:
        case OnDone::Nothing:
            EXPECT_EQ(ListContent(), after);
            EXPECT_EQ(MainLines(), Lines({"Mars", "Venus", "Titan"}));
            EXPECT_EQ(bench::ListSelection(m_main, IDC_COLONYLIST), 1);
            EXPECT_EQ(RateFields(), rates) << "the main window was refreshed";
            EXPECT_EQ(StatusText(), effect == OnDone::TotalsOnly ? TotalsLine(2520, 1407, 305) : "");
            EXPECT_EQ(ListCommands(), Commands::Enabled);
            EXPECT_EQ(AddCommands(), Commands::Enabled);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, DialogWayOutTest, ::testing::ValuesIn(WAYS_OUT),
                         [](const ::testing::TestParamInfo<WayOut>& wayOut)
                         { return std::string(wayOut.param.name); });

} // namespace
