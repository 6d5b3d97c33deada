#include "bench/Drawn.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <utility>

namespace bench
{

namespace
{

// How far a text may lie from the place the platform's own drawing function gives it.
constexpr int TEXT_REACH = 4;

// The colours a control paints with, as its parent answers the control's WM_CTLCOLOR*.
struct Colours
{
    COLORREF text = 0;
    COLORREF background = 0;
    HBRUSH brush = nullptr;
};

Colours AskColours(HWND control, UINT message)
{
    Colours colours;
    const HDC probe = CreateCompatibleDC(nullptr);
    colours.brush = reinterpret_cast<HBRUSH>(SendWithTimeout(
        GetParent(control), message, reinterpret_cast<WPARAM>(probe), reinterpret_cast<LPARAM>(control)));
    colours.text = GetTextColor(probe);
    colours.background = GetBkColor(probe);
    DeleteDC(probe);
    return colours;
}

// The font the control draws with; null for the device context's own (the system font),
// which a control without WM_SETFONT uses.
HFONT ControlFont(HWND control)
{
    return reinterpret_cast<HFONT>(SendWithTimeout(control, WM_GETFONT));
}

void SelectFont(HDC dc, HFONT font)
{
    if (font != nullptr)
    {
        SelectObject(dc, font);
    }
}

// The status bar draws with the platform's status font unless it was given one.
HFONT StatusFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectA(&metrics.lfStatusFont);
}

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

std::string Hex(COLORREF colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lx", static_cast<unsigned long>(colour));
    return text;
}

// The one-pixel frame of a rectangle, as four thin rectangles.
void AddFrame(std::vector<RECT>& rects, const RECT& frame)
{
    rects.push_back(RECT{frame.left, frame.top, frame.right, frame.top + 1});
    rects.push_back(RECT{frame.left, frame.bottom - 1, frame.right, frame.bottom});
    rects.push_back(RECT{frame.left, frame.top, frame.left + 1, frame.bottom});
    rects.push_back(RECT{frame.right - 1, frame.top, frame.right, frame.bottom});
}

bool HasFocus(HWND control)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info) && info.hwndFocus == control;
}

bool IsOneColour(const Capture& picture)
{
    for (int y = 0; y < picture.Height(); ++y)
    {
        for (int x = 0; x < picture.Width(); ++x)
        {
            if (picture.At(x, y) != picture.At(0, 0))
            {
                return false;
            }
        }
    }
    return true;
}

} // namespace

DrawnComparison ComparePictures(const Capture& seen, const Capture& expected,
                                const std::vector<RECT>& leftOut)
{
    DrawnComparison result;
    if (!seen.Valid() || !expected.Valid())
    {
        result.difference = "no picture to compare";
        return result;
    }
    if (seen.Width() != expected.Width() || seen.Height() != expected.Height())
    {
        result.difference = "the screen shows " + std::to_string(seen.Width()) + "x" +
                            std::to_string(seen.Height()) + " pixels, expected " +
                            std::to_string(expected.Width()) + "x" + std::to_string(expected.Height());
        return result;
    }
    long differing = 0;
    std::ostringstream first;
    // Runs of rows that differ, so that a failure names the lines of text it concerns.
    std::vector<std::pair<int, int>> rows;
    for (int y = 0; y < seen.Height(); ++y)
    {
        for (int x = 0; x < seen.Width(); ++x)
        {
            if (InsideAny(leftOut, x, y) || seen.At(x, y) == expected.At(x, y))
            {
                continue;
            }
            if (differing == 0)
            {
                first << "first at (" << x << ", " << y << "): screen " << Hex(seen.At(x, y)) << ", expected "
                      << Hex(expected.At(x, y));
            }
            ++differing;
            if (!rows.empty() && rows.back().second >= y - 1)
            {
                rows.back().second = y;
            }
            else
            {
                rows.emplace_back(y, y);
            }
        }
    }
    result.same = differing == 0;
    if (!result.same)
    {
        std::ostringstream text;
        text << differing << " pixels differ, in rows";
        for (const auto& run : rows)
        {
            text << " " << run.first << "-" << run.second;
        }
        text << "; " << first.str();
        if (IsOneColour(seen))
        {
            text << "; the screen shows nothing but " << Hex(seen.At(0, 0));
        }
        result.difference = text.str();
    }
    return result;
}

DrawnComparison TextFoundNear(const Capture& seen, const Capture& expected, COLORREF background, COLORREF ink)
{
    if (!seen.Valid() || !expected.Valid() || seen.Width() != expected.Width() ||
        seen.Height() != expected.Height())
    {
        return ComparePictures(seen, expected);
    }
    RECT text{expected.Width(), expected.Height(), 0, 0};
    for (int y = 0; y < expected.Height(); ++y)
    {
        for (int x = 0; x < expected.Width(); ++x)
        {
            if (expected.At(x, y) != background)
            {
                text = RECT{std::min<LONG>(text.left, x), std::min<LONG>(text.top, y),
                            std::max<LONG>(text.right, x + 1), std::max<LONG>(text.bottom, y + 1)};
            }
        }
    }
    RECT found{};
    if (text.left < text.right)
    {
        // The text with a pixel of background all round, so that a longer text does not pass.
        const RECT whole{0, 0, expected.Width(), expected.Height()};
        RECT framed{text.left - 1, text.top - 1, text.right + 1, text.bottom + 1};
        IntersectRect(&framed, &framed, &whole);
        const Capture wanted = expected.Part(framed);
        bool shown = false;
        for (int dy = -TEXT_REACH; dy <= TEXT_REACH && !shown; ++dy)
        {
            for (int dx = -TEXT_REACH; dx <= TEXT_REACH && !shown; ++dx)
            {
                RECT place = framed;
                OffsetRect(&place, dx, dy);
                const Capture there = seen.Part(place);
                if (there.Width() == wanted.Width() && there.Height() == wanted.Height() &&
                    ComparePictures(there, wanted).same)
                {
                    shown = true;
                    found = place;
                }
            }
        }
        if (!shown)
        {
            DrawnComparison result = ComparePictures(seen.Part(framed), wanted);
            result.difference = "the text is not shown within " + std::to_string(TEXT_REACH) +
                                " pixels of its place; where it belongs, " + result.difference;
            return result;
        }
    }
    const std::vector<RECT> textPlace{found};
    for (int y = 0; y < seen.Height(); ++y)
    {
        for (int x = 0; x < seen.Width(); ++x)
        {
            if (seen.At(x, y) == ink && !InsideAny(textPlace, x, y))
            {
                return DrawnComparison{false, "something in the text's colour " + Hex(ink) + " at (" +
                                                  std::to_string(x) + ", " + std::to_string(y) +
                                                  "), outside the text"};
            }
        }
    }
    return DrawnComparison{true, ""};
}

Capture OnScreen(HWND control)
{
    RECT area{};
    GetClientRect(control, &area);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return Capture::Screen(area);
}

DrawnComparison ListBoxDrawn(HWND listBox, const std::vector<std::string>& lines, int selected)
{
    const SIZE size = ClientSize(listBox);
    const int lineHeight = static_cast<int>(SendWithTimeout(listBox, LB_GETITEMHEIGHT));
    const int top = static_cast<int>(SendWithTimeout(listBox, LB_GETTOPINDEX));
    if (lineHeight <= 0 || top < 0)
    {
        return DrawnComparison{false, "the list box gives no line height or top line"};
    }
    const Colours colours = AskColours(listBox, WM_CTLCOLORLISTBOX);
    const HFONT font = ControlFont(listBox);
    const Capture expected = Capture::Drawn(
        size.cx, size.cy,
        [&](HDC dc)
        {
            const RECT all{0, 0, size.cx, size.cy};
            FillRect(dc, &all, colours.brush);
            SelectFont(dc, font);
            for (int index = top; index < static_cast<int>(lines.size()); ++index)
            {
                const RECT row{0, (index - top) * lineHeight, size.cx, (index - top + 1) * lineHeight};
                if (row.top >= size.cy)
                {
                    break;
                }
                const bool highlighted = index == selected;
                SetTextColor(dc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colours.text);
                SetBkColor(dc, highlighted ? GetSysColor(COLOR_HIGHLIGHT) : colours.background);
                // One pixel in from the left, as the list box places its text.
                const std::string& line = lines[static_cast<std::size_t>(index)];
                ExtTextOutA(dc, row.left + 1, row.top, ETO_OPAQUE | ETO_CLIPPED, &row, line.c_str(),
                            static_cast<UINT>(line.size()), nullptr);
            }
        });
    std::vector<RECT> leftOut;
    if (HasFocus(listBox))
    {
        const LRESULT caret = SendWithTimeout(listBox, LB_GETCARETINDEX);
        const int row = static_cast<int>(caret > 0 ? caret : 0) - top;
        AddFrame(leftOut, RECT{0, row * lineHeight, size.cx, (row + 1) * lineHeight});
    }
    return ComparePictures(OnScreen(listBox), expected, leftOut);
}

DrawnComparison StaticTextDrawn(HWND control, const std::string& text)
{
    const SIZE size = ClientSize(control);
    const Colours colours = AskColours(control, WM_CTLCOLORSTATIC);
    const HFONT font = ControlFont(control);
    const Capture expected =
        Capture::Drawn(size.cx, size.cy,
                       [&](HDC dc)
                       {
                           RECT all{0, 0, size.cx, size.cy};
                           FillRect(dc, &all, colours.brush);
                           SelectFont(dc, font);
                           SetTextColor(dc, colours.text);
                           SetBkColor(dc, colours.background);
                           DrawTextA(dc, text.c_str(), -1, &all, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
                       });
    return ComparePictures(OnScreen(control), expected);
}

DrawnComparison StatusBarDrawn(HWND statusBar, const std::string& text)
{
    const SIZE size = ClientSize(statusBar);
    RECT part{};
    if (SendWithTimeout(statusBar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part)) <= 0)
    {
        return DrawnComparison{false, "the status bar gives no place for its part"};
    }
    HFONT font = ControlFont(statusBar);
    const HFONT platformFont = font == nullptr ? StatusFont() : nullptr;
    const Capture expected = Capture::Drawn(size.cx, size.cy,
                                            [&](HDC dc)
                                            {
                                                const RECT all{0, 0, size.cx, size.cy};
                                                FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
                                                SelectFont(dc, font != nullptr ? font : platformFont);
                                                // Inside the part's one-pixel frame, which is
                                                // not drawn here: only the text is compared.
                                                RECT inside = part;
                                                InflateRect(&inside, -1, -1);
                                                DrawStatusTextA(dc, &inside, text.c_str(), SBT_NOBORDERS);
                                            });
    if (platformFont != nullptr)
    {
        DeleteObject(platformFont);
    }
    // Wine draws the frame of the part its own way and the text a pixel aside from where the
    // platform's DrawStatusText puts it: the text itself must be there to the pixel, near
    // its place, and nothing else in the text's colour.
    return TextFoundNear(OnScreen(statusBar), expected, GetSysColor(COLOR_3DFACE),
                         GetSysColor(COLOR_BTNTEXT));
}

DrawnComparison WaitDrawn(HWND window, const std::function<DrawnComparison()>& compare, DWORD timeoutMs)
{
    DrawnComparison last;
    WaitUntil(
        [&]
        {
            if (!NothingLeftToPaint(window))
            {
                last = DrawnComparison{false, "the window still has something to paint"};
                return false;
            }
            last = compare();
            return last.same;
        },
        timeoutMs);
    return last;
}

} // namespace bench
