#pragma once

// The program's windows run in the test's own process: its start-up and message loop on a
// UI thread, while the test thread posts the user's actions, waits for what it expects with
// a deadline, and reads back what the user would see. The test links the program's code
// and resources, so it can also make any window's creation fail.

#include "bench/Files.h"
#include "bench/Screen.h"

#include <atomic>
#include <mutex>

namespace bench
{

// A window the UI thread is about to create, as a creation filter sees it.
struct CreateAttempt
{
    std::string className; // an atom class such as a dialog's is given as "#32770"
    std::string windowName;
    int id = 0; // a child's identifier; 0 for a top-level window
    bool isChild = false;
    HWND parent = nullptr;
    DWORD style = 0;
};

// Returns true for a creation that is to fail (CreateWindowEx then returns null).
using CreateFilter = std::function<bool(const CreateAttempt&)>;

CreateFilter FailClass(const std::string& className);
CreateFilter FailChildId(int id);
CreateFilter FailAllChildrenOf(const std::string& parentClassName);
// A dialog (class "#32770") with this caption; message boxes are left alone.
CreateFilter FailDialog(const std::string& caption);

struct SessionOptions
{
    int showCommand = SW_SHOWNORMAL;
    // Consulted for every window the UI thread creates, from the first one on.
    CreateFilter failCreation;
};

// The program running on its own UI thread: RunMainWindow with this module's instance.
// Starts with an empty g_ColonyList; at the end closes whatever is open, waits for the
// thread, unregisters the main window class and empties g_ColonyList again.
class UiSession
{
public:
    UiSession();
    explicit UiSession(SessionOptions options);
    ~UiSession();
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    // Waits until the main window is shown and the message loop runs; null on timeout or
    // when the program ended first.
    HWND WaitMainWindow(DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
    // The main window if it exists now, shown or not.
    HWND MainWindow() const;
    DWORD ThreadId() const { return m_threadId; }

    bool HasEnded() const;
    // Waits for the UI thread to return; exitCode gets RunMainWindow's result.
    bool WaitEnded(int& exitCode, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

    // Replaces the creation filter for the windows created from now on.
    void SetCreationFilter(CreateFilter filter);

    // Waits until the UI thread has taken every message posted before this call, i.e. is
    // idle in a message loop, its own or a modal one (a dialog, a message box). False when
    // the program has ended or the time is up.
    bool Sync(DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

    // --- the user's actions (all posted; follow with a wait or Sync) ---

    // Chooses a menu item of the main window. False, and nothing posted, when the item is
    // greyed: a user cannot choose it.
    bool ChooseMenu(int command);
    // Posts the command whatever the menu shows, as another part of the program could.
    void PostCommand(int command, LPARAM lParam = 0);
    // Clicks a push button of the main window or a dialog. False, and nothing posted, when
    // the button is missing, hidden or disabled.
    bool Click(HWND parent, int id);
    // Selects a line of a list box (index -1: none) and notifies its parent as the list box
    // does after a mouse click.
    bool SelectLine(HWND parent, int listId, int index);
    // Selects a line of a drop-down combo box and notifies its parent (CBN_SELCHANGE).
    bool SelectComboLine(HWND parent, int comboId, int index);
    // Replaces an edit's text at once, as a paste would (no character filtering).
    void SetText(HWND parent, int id, const std::string& text);
    // The same with characters that no code page may hold, as a paste of Unicode text brings.
    void SetText(HWND parent, int id, const std::wstring& text);
    // Types characters into a control (WM_CHAR each): digit-only edits refuse others.
    void Type(HWND parent, int id, const std::string& text);
    // Types characters as a keyboard of any language does: each reaches the control through
    // the message loop as UTF-16, whatever the code page.
    void Type(HWND parent, int id, const std::wstring& text);
    // Presses and releases a key on the focused control of the window (or the window itself).
    // VK_RETURN and VK_ESCAPE in a dialog act as the platform's dialog keys.
    void PressKey(HWND window, UINT virtualKey);
    // The close box in the caption (WM_SYSCOMMAND SC_CLOSE).
    void CloseBox(HWND window);

    // --- what is on screen ---

    // Top-level windows of the UI thread (dialogs, message boxes, the main window).
    std::vector<HWND> TopLevelWindows() const { return ThreadWindows(m_threadId); }
    // A dialog that is not a message box, by caption; null when none.
    HWND FindDialog(const std::string& caption) const;
    HWND WaitDialog(const std::string& caption, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
    // True when the window is gone within the time.
    bool WaitGone(HWND window, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

    // The first message box on screen, read; window null when none.
    MessageBoxInfo FindMessageBox() const { return bench::FindMessageBox(TopLevelWindows()); }
    // Waits for a message box; window null on timeout.
    MessageBoxInfo WaitMessageBox(DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
    // Presses its OK button and waits until it is gone; false if it stays.
    bool Dismiss(const MessageBoxInfo& box, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
    // Waits for a message box, reads it and dismisses it. window null when none came.
    MessageBoxInfo TakeMessageBox(DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
    // After Sync: true when no message box is on screen.
    bool NoMessageBox();

private:
    static DWORD WINAPI ThreadMain(void* session);
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void CloseEverything();

    SessionOptions m_options;
    std::mutex m_filterLock;
    HANDLE m_thread = nullptr;
    HANDLE m_ready = nullptr;
    DWORD m_threadId = 0;
    std::atomic<int> m_exitCode{-1};
    std::atomic<LONG> m_syncPosted{0};
    std::atomic<LONG> m_syncTaken{0};
};

// --- checks of the message boxes a user action showed (GoogleTest failures) ---

struct ExpectedMessage
{
    HWND owner;
    std::string caption;
    std::string text;
    UINT icon;
};

// The message boxes the last action showed, in order, each dismissed before the next can
// come; fails on any difference in owner, caption, text, icon or buttons (OK alone), or on
// one more.
void ExpectMessages(UiSession& session, const std::vector<ExpectedMessage>& messages);
// Fails when a message box is on screen once every pending action has been handled, and
// dismisses it so that the next check starts clean.
void ExpectNoMessage(UiSession& session);

// Registers a window class under the given name for the object's lifetime, so that the
// program's own registration of that name fails.
class ScopedWindowClass
{
public:
    explicit ScopedWindowClass(const std::string& name);
    ~ScopedWindowClass();
    ScopedWindowClass(const ScopedWindowClass&) = delete;
    ScopedWindowClass& operator=(const ScopedWindowClass&) = delete;
    bool Registered() const { return m_atom != 0; }

private:
    std::string m_name;
    ATOM m_atom;
};

} // namespace bench
