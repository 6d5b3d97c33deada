// The real message boxes of the data file, read and closed from the test thread while the
// action runs on a thread of its own.
#include "storage/ShownErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace
{

struct SBox
{
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    HICON icon = nullptr;
    std::set<int> buttons;
};

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && ClassOf(window) == "#32770")
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM into)
{
    SBox& box = *reinterpret_cast<SBox*>(into);
    const std::string kind = ClassOf(child);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (kind == "Static" && (style & SS_TYPEMASK) == SS_ICON)
    {
        box.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    else if (kind == "Button" && IsWindowVisible(child))
    {
        box.buttons.insert(GetDlgCtrlID(child));
    }
    return TRUE;
}

SBox ReadBox(HWND dialog)
{
    SBox box;
    box.caption = TextOf(dialog);
    box.text = TextOf(GetDlgItem(dialog, 0xFFFF));
    box.owner = GetWindow(dialog, GW_OWNER);
    EnumChildWindows(dialog, ReadChild, reinterpret_cast<LPARAM>(&box));
    return box;
}

DWORD WINAPI RunAction(LPVOID action)
{
    (*static_cast<const std::function<void()>*>(action))();
    return 0;
}

} // namespace

std::vector<std::string> RunShowingErrors(const std::function<void()>& action)
{
    std::vector<std::string> texts;
    DWORD threadId = 0;
    HANDLE thread =
        CreateThread(nullptr, 0, RunAction, const_cast<std::function<void()>*>(&action), 0, &threadId);
    if (thread == nullptr)
    {
        ADD_FAILURE() << "cannot start the thread for the action";
        return texts;
    }
    const HICON stopIcon = LoadIcon(nullptr, IDI_HAND);
    const ULONGLONG deadline = GetTickCount64() + 30000;
    bool finished = false;
    while (!finished && GetTickCount64() < deadline)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(threadId, FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog != nullptr)
        {
            const SBox box = ReadBox(dialog);
            texts.push_back(box.text);
            EXPECT_EQ(box.caption, "Error") << box.text;
            EXPECT_EQ(box.owner, nullptr) << box.text;
            EXPECT_EQ(box.icon, stopIcon) << box.text;
            EXPECT_EQ(box.buttons, std::set<int>{IDOK}) << box.text;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
            // Do not read the same box twice while it is going away.
            while (IsWindow(dialog) && GetTickCount64() < deadline)
            {
                Sleep(1);
            }
        }
        finished = WaitForSingleObject(thread, 5) == WAIT_OBJECT_0;
    }
    if (!finished)
    {
        // The action is stuck in a box this reader cannot close; nothing sound can follow.
        ADD_FAILURE() << "the action did not end within 30 s";
        std::abort();
    }
    CloseHandle(thread);
    return texts;
}
