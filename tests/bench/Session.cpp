#include "bench/Session.h"

#include "model/ColonyList.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <utility>

namespace bench
{

namespace
{

// The one session whose UI thread is running; the hooks run on that thread and have no
// other way to find it.
std::atomic<UiSession*> g_session{nullptr};

// A WM_NULL thread message with this lParam marks a Sync.
constexpr LPARAM SYNC_MARK = 0x5a45524b; // "ZERK"

std::string TextOfAtomOrName(LPCSTR name)
{
    if (name == nullptr)
    {
        return "";
    }
    if (IS_INTRESOURCE(name))
    {
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    }
    return name;
}

// Selects a line of a list or combo box and tells its parent, as a click on the line does.
bool SelectAndNotify(HWND parent, int id, int index, UINT selectMessage, WORD notification)
{
    HWND control = GetDlgItem(parent, id);
    if (control == nullptr || !IsWindowEnabled(control))
    {
        return false;
    }
    const LRESULT result = SendWithTimeout(control, selectMessage, static_cast<WPARAM>(index));
    if (index >= 0 && result != index)
    {
        return false;
    }
    return PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, notification),
                        reinterpret_cast<LPARAM>(control)) != 0;
}

} // namespace

CreateFilter FailClass(const std::string& className)
{
    return [className](const CreateAttempt& attempt)
    {
        return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, attempt.className.c_str(), -1,
                              className.c_str(), -1) == CSTR_EQUAL;
    };
}

CreateFilter FailChildId(int id)
{
    return [id](const CreateAttempt& attempt) { return attempt.isChild && attempt.id == id; };
}

CreateFilter FailAllChildrenOf(const std::string& parentClassName)
{
    return [parentClassName](const CreateAttempt& attempt)
    { return attempt.isChild && attempt.parent != nullptr && ClassName(attempt.parent) == parentClassName; };
}

CreateFilter FailDialog(const std::string& caption)
{
    return [caption](const CreateAttempt& attempt)
    { return !attempt.isChild && attempt.className == "#32770" && attempt.windowName == caption; };
}

// --- UiSession ---

UiSession::UiSession() : UiSession(SessionOptions{}) {}

UiSession::UiSession(SessionOptions options) : m_options(std::move(options))
{
    UiSession* expected = nullptr;
    if (!g_session.compare_exchange_strong(expected, this))
    {
        ADD_FAILURE() << "only one UiSession may run at a time";
        return;
    }
    g_ColonyList.RemoveAll();
    m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, &m_threadId);
    if (m_thread == nullptr)
    {
        ADD_FAILURE() << "cannot start the UI thread";
        g_session = nullptr;
        return;
    }
    HANDLE waits[] = {m_ready, m_thread};
    WaitForMultipleObjects(2, waits, FALSE, DEFAULT_TIMEOUT_MS);
}

UiSession::~UiSession()
{
    if (m_thread != nullptr)
    {
        CloseEverything();
        CloseHandle(m_thread);
    }
    if (m_ready != nullptr)
    {
        CloseHandle(m_ready);
    }
    UnregisterClassA(MAIN_WINDOW_CLASS, GetModuleHandleA(nullptr));
    g_ColonyList.RemoveAll();
    UiSession* self = this;
    g_session.compare_exchange_strong(self, nullptr);
}

DWORD WINAPI UiSession::ThreadMain(void* parameter)
{
    UiSession* session = static_cast<UiSession*>(parameter);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists from here on
    HHOOK getMessageHook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    HHOOK cbtHook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    SetEvent(session->m_ready);
    session->m_exitCode = RunMainWindow(GetModuleHandleA(nullptr), session->m_options.showCommand);
    UnhookWindowsHookEx(cbtHook);
    UnhookWindowsHookEx(getMessageHook);
    return 0;
}

LRESULT CALLBACK UiSession::GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    UiSession* session = g_session;
    if (code == HC_ACTION && wParam == PM_REMOVE && session != nullptr && message->hwnd == nullptr &&
        message->message == WM_NULL && message->lParam == SYNC_MARK)
    {
        session->m_syncTaken = static_cast<LONG>(message->wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK UiSession::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    UiSession* session = g_session;
    if (code == HCBT_CREATEWND && session != nullptr)
    {
        const CBT_CREATEWNDA* creation = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        const CREATESTRUCTA* create = creation->lpcs;
        CreateAttempt attempt;
        attempt.className = TextOfAtomOrName(create->lpszClass);
        attempt.windowName =
            create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName) ? create->lpszName : "";
        attempt.isChild = (create->style & WS_CHILD) != 0;
        attempt.id = attempt.isChild ? static_cast<int>(reinterpret_cast<INT_PTR>(create->hMenu)) : 0;
        attempt.parent = create->hwndParent;
        attempt.style = static_cast<DWORD>(create->style);
        std::lock_guard<std::mutex> lock(session->m_filterLock);
        if (session->m_options.failCreation && session->m_options.failCreation(attempt))
        {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void UiSession::SetCreationFilter(CreateFilter filter)
{
    std::lock_guard<std::mutex> lock(m_filterLock);
    m_options.failCreation = std::move(filter);
}

HWND UiSession::MainWindow() const
{
    for (HWND window : TopLevelWindows())
    {
        if (ClassName(window) == MAIN_WINDOW_CLASS)
        {
            return window;
        }
    }
    return nullptr;
}

HWND UiSession::WaitMainWindow(DWORD timeoutMs)
{
    HWND window = nullptr;
    WaitUntil(
        [&]
        {
            window = MainWindow();
            return HasEnded() || (window != nullptr && IsWindowVisible(window));
        },
        timeoutMs);
    if (window == nullptr || !IsWindowVisible(window) || !Sync(timeoutMs))
    {
        return nullptr;
    }
    return window;
}

bool UiSession::HasEnded() const
{
    return m_thread == nullptr || WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0;
}

bool UiSession::WaitEnded(int& exitCode, DWORD timeoutMs)
{
    if (m_thread == nullptr || WaitForSingleObject(m_thread, timeoutMs) != WAIT_OBJECT_0)
    {
        return false;
    }
    exitCode = m_exitCode;
    return true;
}

bool UiSession::Sync(DWORD timeoutMs)
{
    if (HasEnded())
    {
        return false;
    }
    const LONG mark = ++m_syncPosted;
    if (!PostThreadMessageA(m_threadId, WM_NULL, static_cast<WPARAM>(mark), SYNC_MARK))
    {
        return false;
    }
    return WaitUntil([&] { return m_syncTaken >= mark || HasEnded(); }, timeoutMs) && m_syncTaken >= mark;
}

bool UiSession::ChooseMenu(int command)
{
    HWND window = MainWindow();
    if (window == nullptr || IsMenuItemGrayed(window, command))
    {
        return false;
    }
    // As the menu sends it: notification 0, no control.
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0) != 0;
}

void UiSession::PostCommand(int command, LPARAM lParam)
{
    PostMessageA(MainWindow(), WM_COMMAND, MAKEWPARAM(command, 0), lParam);
}

bool UiSession::Click(HWND parent, int id)
{
    HWND button = GetDlgItem(parent, id);
    if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button))
    {
        return false;
    }
    return PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) !=
           0;
}

bool UiSession::SelectLine(HWND parent, int listId, int index)
{
    return SelectAndNotify(parent, listId, index, LB_SETCURSEL, LBN_SELCHANGE);
}

bool UiSession::SelectComboLine(HWND parent, int comboId, int index)
{
    return SelectAndNotify(parent, comboId, index, CB_SETCURSEL, CBN_SELCHANGE);
}

void UiSession::SetText(HWND parent, int id, const std::string& text)
{
    SendWithTimeout(GetDlgItem(parent, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void UiSession::SetText(HWND parent, int id, const std::wstring& text)
{
    HWND control = GetDlgItem(parent, id);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        DEFAULT_TIMEOUT_MS, &result);
}

void UiSession::Type(HWND parent, int id, const std::wstring& text)
{
    HWND control = GetDlgItem(parent, id);
    for (wchar_t character : text)
    {
        PostMessageW(control, WM_CHAR, static_cast<WPARAM>(character), 1);
    }
}

void UiSession::Type(HWND parent, int id, const std::string& text)
{
    HWND control = GetDlgItem(parent, id);
    for (char character : text)
    {
        PostMessageA(control, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
    }
}

void UiSession::PressKey(HWND window, UINT virtualKey)
{
    bench::PressKey(FocusedControl(window), virtualKey);
}

void UiSession::CloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND UiSession::FindDialog(const std::string& caption) const
{
    return bench::FindDialog(TopLevelWindows(), caption);
}

HWND UiSession::WaitDialog(const std::string& caption, DWORD timeoutMs)
{
    HWND dialog = nullptr;
    WaitUntil(
        [&]
        {
            dialog = FindDialog(caption);
            return dialog != nullptr && IsWindowVisible(dialog);
        },
        timeoutMs);
    return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
}

bool UiSession::WaitGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

MessageBoxInfo UiSession::WaitMessageBox(DWORD timeoutMs)
{
    MessageBoxInfo box;
    // The box is read once it is up and its loop runs, so that its text and icon are set.
    WaitUntil(
        [&]
        {
            box = FindMessageBox();
            return box.window != nullptr && IsWindowVisible(box.window);
        },
        timeoutMs);
    if (box.window != nullptr)
    {
        Sync(timeoutMs);
        box = FindMessageBox();
    }
    return box;
}

bool UiSession::Dismiss(const MessageBoxInfo& box, DWORD timeoutMs)
{
    return AnswerMessageBox(box, IDOK, timeoutMs);
}

MessageBoxInfo UiSession::TakeMessageBox(DWORD timeoutMs)
{
    MessageBoxInfo box = WaitMessageBox(timeoutMs);
    if (box.window != nullptr && !Dismiss(box, timeoutMs))
    {
        ADD_FAILURE() << "message box \"" << box.text << "\" does not close";
    }
    return box;
}

bool UiSession::NoMessageBox()
{
    Sync();
    return FindMessageBox().window == nullptr;
}

void UiSession::CloseEverything()
{
    // Every modal window first (each dialog closes by Cancel or by OK/Done), then the main
    // window; the program then leaves its loop.
    for (int round = 0; round < 200 && !HasEnded(); ++round)
    {
        bool modalOpen = false;
        for (HWND window : TopLevelWindows())
        {
            if (ClassName(window) == "#32770")
            {
                modalOpen = true;
                const WPARAM command = (round % 2 == 0) ? IDCANCEL : IDOK;
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
            }
        }
        if (!modalOpen)
        {
            HWND window = MainWindow();
            if (window != nullptr)
            {
                PostMessageA(window, WM_CLOSE, 0, 0);
            }
        }
        if (WaitForSingleObject(m_thread, 50) == WAIT_OBJECT_0)
        {
            break;
        }
    }
    if (!HasEnded())
    {
        ADD_FAILURE() << "the program does not end";
        TerminateThread(m_thread, 1);
    }
}

// --- message box checks ---

void ExpectMessages(UiSession& session, const std::vector<ExpectedMessage>& messages)
{
    for (const ExpectedMessage& expected : messages)
    {
        const MessageBoxInfo box = session.TakeMessageBox();
        ASSERT_NE(box.window, nullptr) << "no message box; expected \"" << expected.text << "\"";
        EXPECT_EQ(box.owner, expected.owner) << expected.text;
        EXPECT_EQ(box.caption, expected.caption);
        EXPECT_EQ(box.text, expected.text);
        EXPECT_EQ(box.icon, expected.icon) << expected.text;
        EXPECT_EQ(box.buttons, std::set<int>{IDOK}) << expected.text;
        ASSERT_TRUE(session.Sync());
    }
    ExpectNoMessage(session);
}

void ExpectNoMessage(UiSession& session)
{
    ASSERT_TRUE(session.Sync());
    const MessageBoxInfo box = session.FindMessageBox();
    EXPECT_EQ(box.window, nullptr) << "unexpected message box \"" << box.caption << "\": " << box.text;
    if (box.window != nullptr)
    {
        session.Dismiss(box);
    }
}

ScopedWindowClass::ScopedWindowClass(const std::string& name) : m_name(name), m_atom(0)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = m_name.c_str();
    m_atom = RegisterClassExA(&windowClass);
}

ScopedWindowClass::~ScopedWindowClass()
{
    if (m_atom != 0)
    {
        UnregisterClassA(m_name.c_str(), GetModuleHandleA(nullptr));
    }
}

} // namespace bench
