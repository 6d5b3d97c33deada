// What the two calculation dialogs show when they open: every control in tab order with its
// text, place and size, the captions, and Done as the default button.
#include "CalculationDialogTest.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{

struct Control
{
    int id;
    const char* className;
    const char* text;
    RECT place;      // dialog units: left, top, width, height
    DWORD kindStyle; // the control's own style bits that matter, under kindMask
    DWORD kindMask;
    bool tabStop;
};

const DWORD BUTTON_KIND = 0x0F;
const DWORD GROUPBOX = BS_GROUPBOX;
const DWORD DROPDOWN = CBS_DROPDOWNLIST | CBS_HASSTRINGS;
const DWORD DROPDOWN_MASK = 0x03 | CBS_HASSTRINGS | CBS_SORT;
const DWORD LIST = LBS_NOTIFY;
const DWORD LIST_MASK = LBS_NOTIFY | LBS_SORT;

Control GroupBox(const char* text, RECT place)
{
    return {-1, "Button", text, place, GROUPBOX, BUTTON_KIND, true};
}
Control PushButton(int id, const char* text, RECT place)
{
    // Whether a push button shows as the default moves with the focus, so only its place
    // and text are checked here; the default button is checked through DM_GETDEFID.
    return {id, "Button", text, place, 0, 0, true};
}
Control Label(int id, const char* text, RECT place)
{
    return {id, "Static", text, place, SS_LEFT, SS_TYPEMASK, false};
}
Control NumberEdit(int id, RECT place)
{
    return {id, "Edit", "", place, ES_NUMBER, ES_NUMBER, true};
}

std::vector<Control> Panel(int colonies, int add, int addAll, int remove, int clearAll, int selected,
                           LONG groupHeight, LONG listHeight)
{
    return {GroupBox(" Select colonies ", {7, 7, 136, groupHeight}),
            {colonies, "ComboBox", "Mars", {13, 17, 123, 70}, DROPDOWN, DROPDOWN_MASK, false},
            PushButton(add, "Add", {96, 33, 40, 14}),
            PushButton(addAll, "Add all", {96, 50, 40, 14}),
            PushButton(remove, "Remove", {96, 67, 40, 14}),
            PushButton(clearAll, "Clear all", {96, 84, 40, 14}),
            {selected, "ListBox", "", {13, 33, 80, listHeight}, LIST, LIST_MASK, false}};
}

std::vector<Control> ProductionControls()
{
    std::vector<Control> controls = Panel(IDC_PROD_COLONY, IDC_PROD_ADD, IDC_PROD_ADDALL, IDC_PROD_REMOVE,
                                          IDC_PROD_CLEARALL, IDC_PROD_SELECTED, 100, 72);
    const std::vector<Control> rest = {
        GroupBox(" Enter time (D:HH:MM:SS)", {7, 112, 136, 30}),
        NumberEdit(IDC_PROD_DAYS, {28, 122, 20, 12}),
        NumberEdit(IDC_PROD_HOURS, {53, 122, 20, 12}),
        NumberEdit(IDC_PROD_MINUTES, {78, 122, 20, 12}),
        NumberEdit(IDC_PROD_SECONDS, {103, 122, 20, 12}),
        GroupBox(" Produced resources ", {7, 147, 136, 55}),
        Label(-1, "Metal", {13, 157, 40, 12}),
        Label(IDC_PROD_METAL, "", {58, 157, 78, 12}),
        Label(-1, "Crystal", {13, 171, 40, 12}),
        Label(IDC_PROD_CRYSTAL, "", {58, 171, 78, 12}),
        Label(-1, "Deuterium", {13, 185, 40, 12}),
        Label(IDC_PROD_DEUTERIUM, "", {58, 185, 78, 12}),
        PushButton(IDC_PROD_CALCULATE, "Calculate", {7, 211, 40, 14}),
        PushButton(IDC_PROD_CLEAR, "Clear", {53, 211, 40, 14}),
        PushButton(IDOK, "Done", {100, 211, 40, 14}),
    };
    controls.insert(controls.end(), rest.begin(), rest.end());
    return controls;
}

std::vector<Control> TimeControls()
{
    std::vector<Control> controls = Panel(IDC_TIME_COLONY, IDC_TIME_ADD, IDC_TIME_ADDALL, IDC_TIME_REMOVE,
                                          IDC_TIME_CLEARALL, IDC_TIME_SELECTED, 113, 90);
    const std::vector<Control> rest = {
        GroupBox(" Amount of resources ", {148, 7, 136, 55}),
        Label(-1, "Metal", {154, 20, 35, 12}),
        NumberEdit(IDC_TIME_AMOUNT_METAL, {193, 18, 83, 12}),
        Label(-1, "Crystal", {154, 34, 35, 12}),
        NumberEdit(IDC_TIME_AMOUNT_CRYSTAL, {193, 32, 83, 12}),
        Label(-1, "Deuterium", {154, 48, 35, 12}),
        NumberEdit(IDC_TIME_AMOUNT_DEUTERIUM, {193, 46, 83, 12}),
        GroupBox(" Supply of resources ", {148, 65, 136, 55}),
        Label(-1, "Metal", {154, 78, 35, 12}),
        NumberEdit(IDC_TIME_SUPPLY_METAL, {193, 76, 83, 12}),
        Label(-1, "Crystal", {154, 92, 35, 12}),
        NumberEdit(IDC_TIME_SUPPLY_CRYSTAL, {193, 90, 83, 12}),
        Label(-1, "Deuterium", {154, 106, 35, 12}),
        NumberEdit(IDC_TIME_SUPPLY_DEUTERIUM, {193, 104, 83, 12}),
        GroupBox(" Time to finish ", {80, 127, 136, 55}),
        Label(-1, "Metal", {86, 139, 35, 12}),
        Label(IDC_TIME_METAL, "", {126, 139, 83, 12}),
        // The program's own label reads so.
        Label(-1, "Cystal", {86, 152, 35, 12}),
        Label(IDC_TIME_CRYSTAL, "", {126, 152, 83, 12}),
        Label(-1, "Deuterium", {86, 165, 35, 12}),
        Label(IDC_TIME_DEUTERIUM, "", {126, 165, 83, 12}),
        PushButton(IDC_TIME_CALCULATE, "Calculate", {7, 191, 40, 14}),
        PushButton(IDC_TIME_CLEAR, "Clear", {126, 191, 40, 14}),
        PushButton(IDOK, "Done", {245, 191, 40, 14}),
    };
    controls.insert(controls.end(), rest.begin(), rest.end());
    return controls;
}

// Left, top, width and height in pixels, each converted on its own as the dialog manager
// does when it creates the controls.
RECT InPixels(HWND dialog, RECT place)
{
    MapDialogRect(dialog, &place);
    return place;
}

// Where the control stands in the dialog's client area, in the same form.
RECT PlaceOf(HWND dialog, HWND control)
{
    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "x" +
           std::to_string(r.bottom);
}

LONG SystemFontHeight()
{
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

class CalculationDialogLayoutTest : public CalculationDialogTest
{
protected:
    void ExpectLayout(const CalculationDialog& d, const std::vector<Control>& expected, RECT size)
    {
        HWND dialog = Open(d, {{"Mars", 1, 2, 3}});
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(bench::WindowText(dialog), d.caption);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), m_session.MainWindow());
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
        EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU),
                  static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU));
        EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0u);
        RECT client = {};
        GetClientRect(dialog, &client);
        MapDialogRect(dialog, &size);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);
        EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDOK);

        std::size_t index = 0;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT), ++index)
        {
            ASSERT_LT(index, expected.size()) << "more controls than expected";
            const Control& c = expected[index];
            SCOPED_TRACE("control " + std::to_string(index) + " \"" + c.text + "\"");
            const DWORD childStyle = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
            EXPECT_EQ(GetDlgCtrlID(child), c.id == -1 ? 0xFFFF : c.id);
            EXPECT_EQ(bench::ClassName(child), c.className);
            EXPECT_EQ(bench::WindowText(child), c.text);
            const RECT actual = PlaceOf(dialog, child);
            RECT wanted = InPixels(dialog, c.place);
            if (bench::ClassName(child) == "ComboBox")
            {
                // A closed drop-down is as high as its font needs; the height given is its list's.
                wanted.bottom = actual.bottom;
            }
            if (bench::ClassName(child) == "ListBox")
            {
                // The list box shows whole lines only and drops what is left over; it measures
                // them before the dialog's font is set, in the system font.
                const LONG line = std::max(static_cast<LONG>(SendMessageA(child, LB_GETITEMHEIGHT, 0, 0)),
                                           SystemFontHeight());
                EXPECT_LE(actual.bottom, wanted.bottom);
                EXPECT_GT(actual.bottom, wanted.bottom - line);
                wanted.bottom = actual.bottom;
            }
            EXPECT_EQ(Describe(actual), Describe(wanted));
            EXPECT_EQ(childStyle & c.kindMask, c.kindStyle);
            EXPECT_EQ((childStyle & WS_TABSTOP) != 0, c.tabStop);
            EXPECT_TRUE(IsWindowVisible(child));
        }
        EXPECT_EQ(index, expected.size());
    }
};

TEST_F(CalculationDialogLayoutTest, ProductionDialogShowsItsControlsInTabOrder)
{
    ExpectLayout(PRODUCTION_DIALOG, ProductionControls(), {0, 0, 150, 230});
}

TEST_F(CalculationDialogLayoutTest, TimeDialogShowsItsControlsInTabOrder)
{
    ExpectLayout(TIME_DIALOG, TimeControls(), {0, 0, 292, 210});
}

} // namespace
