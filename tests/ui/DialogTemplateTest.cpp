// Every dialog as it opens, compared with its template: caption, style, size, font, and each
// control in tab order with its class, identifier, text, style and place.
#include "ColonyDialogTest.h"

#include "bench/Layout.h"

#include <optional>

namespace
{

using bench::DialogTemplate;

constexpr DWORD DIALOG_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
const char* const FONT = "MS Sans Serif";
constexpr int FONT_POINTS = 8;

constexpr DWORD GROUP_BOX = BS_GROUPBOX | WS_TABSTOP;
constexpr DWORD DEFAULT_BUTTON = BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD BUTTON = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD LABEL = SS_LEFT | WS_GROUP;
constexpr DWORD RIGHT_LABEL = SS_RIGHT | WS_GROUP;
constexpr DWORD TEXT_EDIT = WS_BORDER | WS_TABSTOP;
constexpr DWORD NUMBER_EDIT = WS_BORDER | WS_TABSTOP | ES_NUMBER;
constexpr DWORD DROP_DOWN = CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL;
constexpr DWORD CALCULATION_LIST = LBS_NOTIFY | WS_BORDER | WS_VSCROLL;

// The About box opens at the top left corner of the main window's client area, with the
// focus on OK.
const DialogTemplate ABOUT = {"About",
                              DIALOG_STYLE,
                              215,
                              125,
                              FONT,
                              FONT_POINTS,
                              POINT{0, 0},
                              IDOK,
                              {
                                  {IDOK, "Button", "OK", DEFAULT_BUTTON, 150, 88, 50, 14},
                                  {-1, "Button", "", GROUP_BOX, 7, 7, 200, 115},
                                  {-1, "Static", "Version : 1.2", LABEL, 12, 70, 135, 14},
                                  {-1, "Static", "(c) Kolvarn's workshop", LABEL, 12, 80, 130, 14},
                                  {-1, "Static", "mail: kolvarn@example.invalid", LABEL, 12, 90, 130, 14},
                                  {-1, "Static", "www.example.invalid", LABEL, 12, 105, 140, 12},
                              }};

// The dialog sets no focus of its own.
const DialogTemplate ADD_COLONY = {"Add colony",
                                   DIALOG_STYLE,
                                   215,
                                   95,
                                   FONT,
                                   FONT_POINTS,
                                   std::nullopt,
                                   0,
                                   {
                                       {IDOK, "Button", "OK", DEFAULT_BUTTON, 155, 75, 50, 14},
                                       {IDCANCEL, "Button", "Cancel", BUTTON, 100, 75, 50, 14},
                                       {-1, "Button", "Colony data :", GROUP_BOX, 7, 7, 200, 65},
                                       {-1, "Static", "Colony name :", RIGHT_LABEL, 15, 20, 75, 12},
                                       {-1, "Static", "Metal production :", RIGHT_LABEL, 15, 32, 75, 12},
                                       {-1, "Static", "Crystal production :", RIGHT_LABEL, 15, 44, 75, 12},
                                       {-1, "Static", "Deuterium production :", RIGHT_LABEL, 15, 56, 75, 12},
                                       {IDC_ADD_NAME, "Edit", "", TEXT_EDIT, 95, 19, 100, 12},
                                       {IDC_ADD_METAL, "Edit", "", NUMBER_EDIT, 95, 31, 50, 12},
                                       {IDC_ADD_CRYSTAL, "Edit", "", NUMBER_EDIT, 95, 43, 50, 12},
                                       {IDC_ADD_DEUTERIUM, "Edit", "", NUMBER_EDIT, 95, 55, 50, 12},
                                       {-1, "Static", "/h", LABEL, 150, 32, 30, 12},
                                       {-1, "Static", "/h", LABEL, 150, 44, 30, 12},
                                       {-1, "Static", "/h", LABEL, 150, 56, 30, 12},
                                   }};

// The four statics of the left column show the colony in place of their template texts.
const DialogTemplate MODIFY_COLONY = {
    "Modify colony data",
    DIALOG_STYLE,
    250,
    120,
    FONT,
    FONT_POINTS,
    std::nullopt,
    IDOK,
    {
        {IDOK, "Button", "Done", DEFAULT_BUTTON, 95, 99, 60, 14},
        {-1, "Button", "", GROUP_BOX, 7, 7, 236, 85},
        {IDC_CURRENT_NAME, "Static", nullptr, RIGHT_LABEL, 14, 14, 105, 14},
        {IDC_NEW_NAME, "Edit", "", TEXT_EDIT, 129, 14, 105, 12},
        {IDC_CURRENT_METAL, "Static", nullptr, RIGHT_LABEL, 14, 29, 105, 14},
        {IDC_NEW_METAL, "Edit", "", NUMBER_EDIT, 129, 28, 55, 12},
        {-1, "Static", "/h", LABEL, 190, 29, 20, 12},
        {IDC_CURRENT_CRYSTAL, "Static", nullptr, RIGHT_LABEL, 14, 43, 105, 14},
        {IDC_NEW_CRYSTAL, "Edit", "", NUMBER_EDIT, 129, 42, 55, 12},
        {-1, "Static", "/h", LABEL, 190, 43, 20, 12},
        {IDC_CURRENT_DEUTERIUM, "Static", nullptr, RIGHT_LABEL, 14, 57, 105, 14},
        {IDC_NEW_DEUTERIUM, "Edit", "", NUMBER_EDIT, 129, 56, 55, 12},
        {-1, "Static", "/h", LABEL, 190, 57, 20, 12},
        {IDC_PREVIOUS, "Button", "< Previous colony", BUTTON, 14, 72, 70, 14},
        {IDC_APPLY, "Button", "Apply", BUTTON, 91, 72, 68, 14},
        {IDC_NEXT, "Button", "Next colony >", BUTTON, 166, 72, 70, 14},
    }};

const DialogTemplate DELETE_COLONY = {"Delete colony",
                                      DIALOG_STYLE,
                                      148,
                                      60,
                                      FONT,
                                      FONT_POINTS,
                                      std::nullopt,
                                      IDOK,
                                      {
                                          {IDOK, "Button", "OK", DEFAULT_BUTTON, 7, 40, 50, 14},
                                          {IDCANCEL, "Button", "Cancel", BUTTON, 90, 40, 50, 14},
                                          {-1, "Button", "Colony name :", GROUP_BOX, 7, 7, 132, 30},
                                          {IDC_DELETE_NAME, "Edit", "", TEXT_EDIT, 14, 18, 120, 14},
                                      }};

// The three statics show the daily totals in place of their template texts.
const DialogTemplate VIEW_COLONIES = {
    "View colonies",
    DIALOG_STYLE,
    300,
    165,
    FONT,
    FONT_POINTS,
    std::nullopt,
    IDOK,
    {
        {IDOK, "Button", "Done", DEFAULT_BUTTON, 120, 145, 60, 14},
        {-1, "Button", "Overview of all colonies", GROUP_BOX, 7, 7, 286, 135},
        {IDC_OVERVIEW_LIST, "ListBox", "", WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_USETABSTOPS | LBS_NOTIFY,
         17, 18, 267, 80},
        {IDC_DAILY_METAL, "Static", nullptr, LABEL, 17, 100, 200, 12},
        {IDC_DAILY_CRYSTAL, "Static", nullptr, LABEL, 17, 112, 200, 12},
        {IDC_DAILY_DEUTERIUM, "Static", nullptr, LABEL, 17, 124, 200, 12},
    }};

// The drop-down shows the first colony as the dialog opens; the dialog leaves the first
// focus to the platform.
const DialogTemplate PRODUCTION_CALCULATION = {
    "Production calculation",
    DIALOG_STYLE,
    150,
    230,
    FONT,
    FONT_POINTS,
    std::nullopt,
    0,
    {
        {-1, "Button", " Select colonies ", GROUP_BOX, 7, 7, 136, 100},
        {IDC_PROD_COLONY, "ComboBox", nullptr, DROP_DOWN, 13, 17, 123, 70},
        {IDC_PROD_ADD, "Button", "Add", BUTTON, 96, 33, 40, 14},
        {IDC_PROD_ADDALL, "Button", "Add all", BUTTON, 96, 50, 40, 14},
        {IDC_PROD_REMOVE, "Button", "Remove", BUTTON, 96, 67, 40, 14},
        {IDC_PROD_CLEARALL, "Button", "Clear all", BUTTON, 96, 84, 40, 14},
        {IDC_PROD_SELECTED, "ListBox", "", CALCULATION_LIST, 13, 33, 80, 72},
        {-1, "Button", " Enter time (D:HH:MM:SS)", GROUP_BOX, 7, 112, 136, 30},
        // Days have no upper bound, so their narrow field scrolls instead of stopping at
        // what fits.
        {IDC_PROD_DAYS, "Edit", "", NUMBER_EDIT | ES_AUTOHSCROLL, 28, 122, 20, 12},
        {IDC_PROD_HOURS, "Edit", "", NUMBER_EDIT, 53, 122, 20, 12},
        {IDC_PROD_MINUTES, "Edit", "", NUMBER_EDIT, 78, 122, 20, 12},
        {IDC_PROD_SECONDS, "Edit", "", NUMBER_EDIT, 103, 122, 20, 12},
        {-1, "Button", " Produced resources ", GROUP_BOX, 7, 147, 136, 55},
        {-1, "Static", "Metal", LABEL, 13, 157, 40, 12},
        {IDC_PROD_METAL, "Static", "", LABEL, 58, 157, 78, 12},
        {-1, "Static", "Crystal", LABEL, 13, 171, 40, 12},
        {IDC_PROD_CRYSTAL, "Static", "", LABEL, 58, 171, 78, 12},
        {-1, "Static", "Deuterium", LABEL, 13, 185, 40, 12},
        {IDC_PROD_DEUTERIUM, "Static", "", LABEL, 58, 185, 78, 12},
        {IDC_PROD_CALCULATE, "Button", "Calculate", BUTTON, 7, 211, 40, 14},
        {IDC_PROD_CLEAR, "Button", "Clear", BUTTON, 53, 211, 40, 14},
        {IDOK, "Button", "Done", DEFAULT_BUTTON, 100, 211, 40, 14},
    }};

const DialogTemplate TIME_CALCULATION = {
    "Time calculation",
    DIALOG_STYLE,
    292,
    210,
    FONT,
    FONT_POINTS,
    std::nullopt,
    0,
    {
        {-1, "Button", " Select colonies ", GROUP_BOX, 7, 7, 136, 113},
        {IDC_TIME_COLONY, "ComboBox", nullptr, DROP_DOWN, 13, 17, 123, 70},
        {IDC_TIME_ADD, "Button", "Add", BUTTON, 96, 33, 40, 14},
        {IDC_TIME_ADDALL, "Button", "Add all", BUTTON, 96, 50, 40, 14},
        {IDC_TIME_REMOVE, "Button", "Remove", BUTTON, 96, 67, 40, 14},
        {IDC_TIME_CLEARALL, "Button", "Clear all", BUTTON, 96, 84, 40, 14},
        {IDC_TIME_SELECTED, "ListBox", "", CALCULATION_LIST, 13, 33, 80, 90},
        {-1, "Button", " Amount of resources ", GROUP_BOX, 148, 7, 136, 55},
        {-1, "Static", "Metal", LABEL, 154, 20, 35, 12},
        {IDC_TIME_AMOUNT_METAL, "Edit", "", NUMBER_EDIT, 193, 18, 83, 12},
        {-1, "Static", "Crystal", LABEL, 154, 34, 35, 12},
        {IDC_TIME_AMOUNT_CRYSTAL, "Edit", "", NUMBER_EDIT, 193, 32, 83, 12},
        {-1, "Static", "Deuterium", LABEL, 154, 48, 35, 12},
        {IDC_TIME_AMOUNT_DEUTERIUM, "Edit", "", NUMBER_EDIT, 193, 46, 83, 12},
        {-1, "Button", " Supply of resources ", GROUP_BOX, 148, 65, 136, 55},
        {-1, "Static", "Metal", LABEL, 154, 78, 35, 12},
        {IDC_TIME_SUPPLY_METAL, "Edit", "", NUMBER_EDIT, 193, 76, 83, 12},
        {-1, "Static", "Crystal", LABEL, 154, 92, 35, 12},
        {IDC_TIME_SUPPLY_CRYSTAL, "Edit", "", NUMBER_EDIT, 193, 90, 83, 12},
        {-1, "Static", "Deuterium", LABEL, 154, 106, 35, 12},
        {IDC_TIME_SUPPLY_DEUTERIUM, "Edit", "", NUMBER_EDIT, 193, 104, 83, 12},
        {-1, "Button", " Time to finish ", GROUP_BOX, 80, 127, 136, 55},
        {-1, "Static", "Metal", LABEL, 86, 139, 35, 12},
        {IDC_TIME_METAL, "Static", "", LABEL, 126, 139, 83, 12},
        // The program's own label reads so.
        {-1, "Static", "Cystal", LABEL, 86, 152, 35, 12},
        {IDC_TIME_CRYSTAL, "Static", "", LABEL, 126, 152, 83, 12},
        {-1, "Static", "Deuterium", LABEL, 86, 165, 35, 12},
        {IDC_TIME_DEUTERIUM, "Static", "", LABEL, 126, 165, 83, 12},
        {IDC_TIME_CALCULATE, "Button", "Calculate", BUTTON, 7, 191, 40, 14},
        {IDC_TIME_CLEAR, "Button", "Clear", BUTTON, 126, 191, 40, 14},
        {IDOK, "Button", "Done", DEFAULT_BUTTON, 245, 191, 40, 14},
    }};

struct DialogOpening
{
    const char* name; // for test names
    int command;      // the menu item that opens it
    const DialogTemplate* layout;
};

void PrintTo(const DialogOpening& opening, std::ostream* out)
{
    *out << opening.name;
}

class DialogTemplateTest : public ColonyDialogTest, public ::testing::WithParamInterface<DialogOpening>
{
};

// Opened through its menu item over a few colonies, each dialog is modal to the main window.
TEST_P(DialogTemplateTest, OpensAsItsTemplateGivesIt)
{
    Load({{"Mars", 1500, 800, 300}, {"Venus", 1000, 600, 0}});
    HWND dialog = Open(GetParam().command, GetParam().layout->caption);
    ASSERT_NE(dialog, nullptr);
    bench::ExpectTemplate(dialog, *GetParam().layout);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), m_main);
    EXPECT_FALSE(IsWindowEnabled(m_main)) << "the dialog is modal to the main window";
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, DialogTemplateTest,
                         ::testing::Values(DialogOpening{"About", IDM_ABOUT, &ABOUT},
                                           DialogOpening{"AddColony", IDM_ADDCOLONY, &ADD_COLONY},
                                           DialogOpening{"ModifyColony", IDM_MODIFYCOLONY, &MODIFY_COLONY},
                                           DialogOpening{"DeleteColony", IDM_DELETECOLONY, &DELETE_COLONY},
                                           DialogOpening{"ViewColonies", IDM_VIEWCOLONIES, &VIEW_COLONIES},
                                           DialogOpening{"Production", IDM_PRODUCTION,
                                                         &PRODUCTION_CALCULATION},
                                           DialogOpening{"Time", IDM_TIME, &TIME_CALCULATION}),
                         [](const ::testing::TestParamInfo<DialogOpening>& opening)
                         { return std::string(opening.param.name); });

} // namespace
