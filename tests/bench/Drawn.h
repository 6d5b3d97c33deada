#pragma once

// What a control shows on screen, compared with what it should show: the test draws the
// expected text itself, in the control's own font and the colours the control paints with,
// into a memory bitmap, and the two pictures must agree pixel for pixel. A control that drew
// nothing, or another text, or left an old line standing, does not pass; reading the text
// back from the control (LB_GETTEXT, WM_GETTEXT) would not have seen any of these.

#include "bench/Screen.h"

#include <functional>
#include <string>
#include <vector>

namespace bench
{

struct DrawnComparison
{
    bool same = false;
    // For a person: where the pictures differ and how.
    std::string difference;
};

// The pictures of one size compared pixel by pixel, leaving out the pixels inside the given
// rectangles.
DrawnComparison ComparePictures(const Capture& seen, const Capture& expected,
                                const std::vector<RECT>& leftOut = {});

// A looser comparison for a control whose frame differs from one platform to another: the
// expected picture's text (what differs from the background) must be found in the seen one
// pixel for pixel, a few pixels from its place at most, and the seen picture must hold
// nothing else in the text's colour.
DrawnComparison TextFoundNear(const Capture& seen, const Capture& expected, COLORREF background,
                              COLORREF ink);

// The control's client area as the screen shows it now.
Capture OnScreen(HWND control);

// A list box of text lines: each line in its own row from the top, the selected one (-1:
// none) highlighted, the rest of the list blank. The focus rectangle, drawn only while the
// list box has the focus, is left out.
DrawnComparison ListBoxDrawn(HWND listBox, const std::vector<std::string>& lines, int selected = -1);
// A static text control (SS_LEFT).
DrawnComparison StaticTextDrawn(HWND control, const std::string& text);
// A status bar of one part showing this text.
DrawnComparison StatusBarDrawn(HWND statusBar, const std::string& text);

// Waits until the window has nothing left to paint and the comparison holds (the screen may
// show a painted picture a moment later); the last comparison.
DrawnComparison WaitDrawn(HWND window, const std::function<DrawnComparison()>& compare,
                          DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

} // namespace bench
