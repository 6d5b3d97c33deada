// The real message boxes of the data file, read and closed from the test thread while the
// action runs on a thread of its own.
#include "storage/ShownErrors.h"

#include "bench/Screen.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

// Long enough for a save that retries a busy file before it gives up.
constexpr DWORD ACTION_TIMEOUT_MS = 30000;

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
    const ULONGLONG deadline = GetTickCount64() + ACTION_TIMEOUT_MS;
    bool finished = false;
    while (!finished && GetTickCount64() < deadline)
    {
        const bench::MessageBoxInfo box = bench::FindMessageBox(bench::ThreadWindows(threadId));
        if (box.window != nullptr)
        {
            texts.push_back(box.text);
            EXPECT_EQ(box.caption, "Error") << box.text;
            EXPECT_EQ(box.owner, nullptr) << box.text;
            EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONHAND)) << box.text;
            EXPECT_EQ(box.buttons, std::set<int>{IDOK}) << box.text;
            EXPECT_TRUE(bench::AnswerMessageBox(box)) << box.text;
        }
        finished = WaitForSingleObject(thread, 5) == WAIT_OBJECT_0;
    }
    if (!finished)
    {
        // The action is stuck in a box this reader cannot close; nothing sound can follow.
        ADD_FAILURE() << "the action did not end within " << ACTION_TIMEOUT_MS / 1000 << " s";
        std::abort();
    }
    CloseHandle(thread);
    return texts;
}
