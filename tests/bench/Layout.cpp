#include "bench/Layout.h"

#include "bench/Screen.h"

#include <gtest/gtest.h>

#include <string>

namespace bench
{

namespace
{

bool IsClass(const char* className, const char* wanted)
{
    return _stricmp(className, wanted) == 0;
}

bool IsPushButton(const TemplateControl& control)
{
    const DWORD type = control.style & BS_TYPEMASK;
    return IsClass(control.className, "Button") && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// Left, top, width and height in pixels, each converted on its own as the dialog manager
// does when it creates the controls.
RECT InPixels(HWND dialog, int x, int y, int width, int height)
{
    RECT place = {x, y, width, height};
    MapDialogRect(dialog, &place);
    return place;
}

RECT PlaceInDialog(HWND dialog, HWND control)
{
    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

LONG SystemFontLineHeight()
{
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// The style as the template gives it, from what the control shows.
DWORD TemplateStyle(HWND child, const TemplateControl& expected)
{
    DWORD style = Style(child);
    // A bordered edit or list box of a 3-D dialog gets the sunken client edge in place of
    // the flat border.
    if ((IsClass(expected.className, "Edit") || IsClass(expected.className, "ListBox")) &&
        (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0)
    {
        style |= WS_BORDER;
    }
    return style;
}

void ExpectControl(HWND dialog, HWND child, const TemplateControl& expected)
{
    EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), expected.id);
    EXPECT_TRUE(IsClass(ClassName(child).c_str(), expected.className)) << ClassName(child);
    if (expected.text != nullptr)
    {
        EXPECT_EQ(WindowText(child), expected.text);
    }

    DWORD shownStyle = TemplateStyle(child, expected);
    DWORD wantedStyle = WS_CHILD | WS_VISIBLE | expected.style;
    if (IsClass(expected.className, "ListBox") || IsClass(expected.className, "ComboBox"))
    {
        // A list box shows its scroll bars only while its lines need them; a drop-down hands
        // them on to its list.
        shownStyle &= ~(WS_VSCROLL | WS_HSCROLL);
        wantedStyle &= ~(WS_VSCROLL | WS_HSCROLL);
    }
    if (IsPushButton(expected))
    {
        // The default look moves to whichever push button has the focus; the template's
        // default button is compared through DM_GETDEFID instead.
        shownStyle &= ~BS_DEFPUSHBUTTON;
        wantedStyle &= ~BS_DEFPUSHBUTTON;
    }
    EXPECT_EQ(shownStyle, wantedStyle)
        << std::hex << "shown 0x" << shownStyle << ", template 0x" << wantedStyle;

    const RECT shown = PlaceInDialog(dialog, child);
    const RECT wanted = InPixels(dialog, expected.x, expected.y, expected.width, expected.height);
    EXPECT_EQ(shown.left, wanted.left) << "x";
    EXPECT_EQ(shown.top, wanted.top) << "y";
    EXPECT_EQ(shown.right, wanted.right) << "width";
    if (IsClass(expected.className, "ListBox") && (expected.style & LBS_NOINTEGRALHEIGHT) == 0)
    {
        EXPECT_TRUE(ListBoxHeightFits(shown.bottom, wanted.bottom))
            << "height " << shown.bottom << " for " << wanted.bottom;
    }
    else if (IsClass(expected.className, "ComboBox"))
    {
        // A closed drop-down is as high as its font needs; the template's height is for its
        // list when open, which the platform places by its own rules.
    }
    else
    {
        EXPECT_EQ(shown.bottom, wanted.bottom) << "height";
    }
}

} // namespace

bool ListBoxHeightFits(LONG shown, LONG asked)
{
    return shown <= asked && shown > asked - SystemFontLineHeight();
}

void ExpectTemplate(HWND dialog, const DialogTemplate& expected)
{
    ASSERT_NE(dialog, nullptr);
    SCOPED_TRACE(expected.caption);
    EXPECT_EQ(WindowText(dialog), expected.caption);
    const DWORD style = Style(dialog);
    // The platform gives every dialog of this kind the 3-D look.
    EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK), expected.style) << std::hex << style;
    EXPECT_TRUE(IsWindowVisible(dialog));

    const RECT size = InPixels(dialog, 0, 0, expected.width, expected.height);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, size.right) << "width";
    EXPECT_EQ(client.bottom, size.bottom) << "height";
    if (expected.place)
    {
        const RECT offset = InPixels(dialog, expected.place->x, expected.place->y, 0, 0);
        POINT ownerCorner = {0, 0};
        ClientToScreen(GetWindow(dialog, GW_OWNER), &ownerCorner);
        POINT corner = {0, 0};
        ClientToScreen(dialog, &corner);
        EXPECT_EQ(corner.x, ownerCorner.x + offset.left) << "place";
        EXPECT_EQ(corner.y, ownerCorner.y + offset.top) << "place";
    }

    const HFONT font = reinterpret_cast<HFONT>(SendWithTimeout(dialog, WM_GETFONT));
    LOGFONTA logical = {};
    ASSERT_NE(GetObjectA(font, sizeof(logical), &logical), 0) << "the dialog has no font of its own";
    EXPECT_STREQ(logical.lfFaceName, expected.fontName);
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(logical.lfHeight, -MulDiv(expected.fontPoints, pixelsPerInch, 72)) << "font size";

    int defaultButton = 0;
    std::size_t index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (index >= expected.controls.size())
        {
            ADD_FAILURE() << "a control beyond the template: " << ClassName(child) << " \""
                          << WindowText(child) << "\"";
            break;
        }
        const TemplateControl& control = expected.controls[index++];
        SCOPED_TRACE(::testing::Message() << "control " << index << " (id " << control.id << ", \""
                                          << (control.text != nullptr ? control.text : "") << "\")");
        ExpectControl(dialog, child, control);
        if (IsPushButton(control) && (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        {
            defaultButton = control.id;
        }
    }
    EXPECT_EQ(index, expected.controls.size()) << "controls missing";

    const LRESULT defaultId = SendWithTimeout(dialog, DM_GETDEFID);
    EXPECT_EQ(HIWORD(defaultId), defaultButton != 0 ? DC_HASDEFID : 0) << "a default button";
    EXPECT_EQ(static_cast<int>(LOWORD(defaultId)), defaultButton) << "the default button";

    if (expected.focus != 0)
    {
        const HWND wanted = GetDlgItem(dialog, expected.focus);
        HWND focused = nullptr;
        // The dialog takes the focus only once it is active, which Wine may do a moment
        // after it shows.
        WaitUntil([&] { return (focused = FocusOf(dialog)) == wanted; });
        EXPECT_EQ(focused, wanted) << "focus on " << (focused != nullptr ? WindowText(focused) : "nothing");
    }
}

} // namespace bench
