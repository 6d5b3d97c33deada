// The wait cursor while Load, Save and a list refill work: the cursor of the program's own
// thread, read by a hook on that thread at moments in the middle of the work.
#include "ColonyDialogTest.h"

#include <atomic>
#include <string>
#include <vector>

namespace
{

std::atomic<HCURSOR> g_cursorWhileWorking{nullptr};
std::atomic<HCURSOR> g_cursorAfterwards{nullptr};

// Emptying a list box starts a refill; a message box comes up inside a failed save. WM_NULL
// comes from the test once everything is done.
LRESULT CALLBACK ReadCursor(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
    {
        const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent.message == LB_RESETCONTENT || sent.message == WM_INITDIALOG)
        {
            g_cursorWhileWorking = GetCursor();
        }
        else if (sent.message == WM_NULL)
        {
            g_cursorAfterwards = GetCursor();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class WaitCursorTest : public ColonyDialogTest
{
};

TEST_F(WaitCursorTest, LoadSaveAndRefillShowTheWaitCursorWhileTheyWork)
{
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ReadCursor, nullptr, m_session.ThreadId());
    ASSERT_NE(hook, nullptr);
    struct Case
    {
        const char* what;
        int command;
        bool savesOntoAFolder;
    };
    for (const Case& c :
         {Case{"Load data", IDM_LOADDATA, false}, Case{"Save data that fails", IDM_SAVEDATA, true},
          Case{"Add colony and the list refilled", IDM_ADDCOLONY, false}})
    {
        SCOPED_TRACE(c.what);
        g_cursorWhileWorking = nullptr;
        g_cursorAfterwards = nullptr;
        switch (c.command)
        {
            case IDM_LOADDATA:
                Load({{"Velquin Prime", 1500, 800, 300}, {"Aster", 1, 2, 3}});
                break;
            case IDM_SAVEDATA:
                std::filesystem::remove("coldata.dat");
                ASSERT_TRUE(std::filesystem::create_directory("coldata.dat"));
                ASSERT_TRUE(m_session.ChooseMenu(IDM_SAVEDATA));
                ExpectMessage(nullptr, "Error", "Failed to create file.", MB_ICONHAND);
                std::filesystem::remove("coldata.dat");
                break;
            default:
            {
                HWND dialog = Open(IDM_ADDCOLONY, "Add colony");
                ASSERT_NE(dialog, nullptr);
                Type(dialog, IDC_ADD_NAME, "Cinder");
                Type(dialog, IDC_ADD_METAL, "1");
                Type(dialog, IDC_ADD_CRYSTAL, "2");
                Type(dialog, IDC_ADD_DEUTERIUM, "3");
                Click(dialog, IDOK);
                ASSERT_TRUE(m_session.WaitGone(dialog));
                break;
            }
        }
        ASSERT_TRUE(m_session.Sync());
        SendMessageA(m_main, WM_NULL, 0, 0);
        EXPECT_EQ(g_cursorWhileWorking.load(), wait);
        EXPECT_NE(g_cursorAfterwards.load(), wait);
    }
    UnhookWindowsHookEx(hook);
}

} // namespace
