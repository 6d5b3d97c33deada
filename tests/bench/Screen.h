#pragma once

// Reading and driving windows under Wine, whichever process they belong to: waiting for a
// state with a deadline, reading what a window shows, message boxes, a user's keys and
// clicks, and the pixels on screen. Nothing here sleeps a fixed time.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace bench
{

constexpr DWORD DEFAULT_TIMEOUT_MS = 10000;

// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

// A sent message that gives up when the window does not answer; -1 then.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// --- what a window shows ---

// The text as the window itself answers WM_GETTEXT: right for another process's windows
// and for controls that keep their own text (the status bar).
std::string WindowText(HWND window);
std::string ItemText(HWND parent, int id);
bool HasItem(HWND parent, int id);
bool IsItemEnabled(HWND parent, int id);
std::string ClassName(HWND window);
DWORD Style(HWND window);
// The window's rectangle in its parent's client coordinates (a top-level window: on screen).
RECT PlaceInParent(HWND window);
SIZE OuterSize(HWND window);
bool InsideAny(const std::vector<RECT>& rects, int x, int y);

// Lines of a list box or combo box of this process (another process's come back as UTF-16).
std::vector<std::string> ListLines(HWND parent, int listId);
int ListSelection(HWND parent, int listId);
std::vector<std::string> ComboLines(HWND parent, int comboId);
int ComboSelection(HWND parent, int comboId);
// The item of a window's menu of this process, addressed by command.
bool IsMenuItemGrayed(HWND window, int command);
bool IsMenuItemEnabled(HWND window, int command);

// Top-level windows of a thread, of a process (visible ones only, on request), or of every
// program (visible ones).
std::vector<HWND> VisibleTopLevelWindows();
std::vector<HWND> ThreadWindows(DWORD threadId);
std::vector<HWND> ProcessWindows(DWORD processId, bool visibleOnly = true);
// The first dialog (not a message box) of these windows with this caption; null when none.
HWND FindDialog(const std::vector<HWND>& windows, const std::string& caption);

// --- message boxes ---

struct MessageBoxInfo
{
    HWND window = nullptr; // null when no message box was found
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    // MB_ICONHAND, MB_ICONEXCLAMATION or MB_ICONASTERISK by the picture shown; 0 for none
    // or another picture.
    UINT icon = 0;
    std::set<int> buttons; // identifiers of the visible buttons
};

// A message box is a dialog with the platform's icon picture beside a message text.
bool IsMessageBox(HWND window);
MessageBoxInfo ReadMessageBox(HWND window);
// The first visible message box among these windows, read; window null when none.
MessageBoxInfo FindMessageBox(const std::vector<HWND>& windows);
// Presses one of its buttons and waits until it is gone; false if it stays.
bool AnswerMessageBox(const MessageBoxInfo& box, int button = IDOK, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

// --- a user's keys and clicks ---

// Presses and releases a key on the window (post it to the focused control for dialog keys
// to act as the platform's).
void PressKey(HWND target, UINT virtualKey);
// The control of the window's thread that has the focus, or the window itself.
HWND FocusedControl(HWND window);
// Presses and releases the left mouse button on a screen point.
void ClickAt(POINT screen);
// The screen point of the window's close box, found by asking the window what lies where
// along its caption; false when no point answers HTCLOSE.
bool FindCloseBox(HWND window, POINT& screen);

// --- pixels ---

// True when neither the window nor any of its children has anything left to paint.
bool NothingLeftToPaint(HWND window);
bool WaitPainted(HWND window, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

// Pixels copied off a device context at one moment, top row first.
class Capture
{
public:
    // The window's client area, or the whole window with its frame.
    static Capture Client(HWND window);
    static Capture WholeWindow(HWND window);
    // A rectangle of the screen.
    static Capture Screen(const RECT& area);
    // What a memory bitmap holds after draw() has painted into it (white to begin with).
    static Capture Drawn(int width, int height, const std::function<void(HDC)>& draw);

    bool Valid() const { return !m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    // The part inside a rectangle of this capture.
    Capture Part(const RECT& area) const;
    // As a 24-bit .bmp file, for a person to look at.
    bool SaveBmp(const std::string& path) const;

private:
    static Capture FromDc(HDC source, int x, int y, int width, int height);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

} // namespace bench
