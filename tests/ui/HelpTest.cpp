// Help, Help under Wine: the real viewer on the built help.hlp, and through a seam that makes
// the program believe it runs on another Windows, the choice between the viewer and the web
// page and every way the page can fail to open.
#include "WinHelpRecorder.h"
#include "bench/ImportSwap.h"
#include "bench/Program.h"
#include "bench/Session.h"

#include "res/resource.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#ifndef ZERAK_HELP_DIR
#error "ZERAK_HELP_DIR names the folder holding the built help.hlp and help.htm"
#endif

using namespace bench;

namespace
{

const char HELP_TITLE[] = "Kolvarn's Zerak Resources Calculator Help";
const DWORD VIEWER_TIMEOUT_MS = 30000;
const COLORREF JUMP_COLOUR = RGB(0, 128, 0);
const INT_PTR SHELL_OPENED = 42;
const INT_PTR SHELL_NO_ASSOCIATION = SE_ERR_NOASSOC;

std::string BuiltHelp(const char* file)
{
    return WindowsPath(ZERAK_HELP_DIR) + "\\" + file;
}

// --- the real viewer ---

HWND FindTextWindow(HWND viewer)
{
    HWND found = nullptr;
    EnumChildWindows(
        viewer,
        [](HWND child, LPARAM result) -> BOOL
        {
            if (ClassName(child).find("RichEdit") != std::string::npos && IsWindowVisible(child))
            {
                *reinterpret_cast<HWND*>(result) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The topic shown, as the text window holds it (paragraphs end in a lone CR there).
std::string ShownTopic(HWND textWindow)
{
    std::string text = WindowText(textWindow);
    std::string plain;
    for (char c : text)
    {
        if (c != '\n')
        {
            plain += c;
        }
    }
    return plain;
}

bool ClickText(HWND textWindow, const std::string& words)
{
    const size_t index = ShownTopic(textWindow).find(words);
    if (index == std::string::npos)
    {
        return false;
    }
    const LRESULT point = SendMessageA(textWindow, EM_POSFROMCHAR, index + 1, 0);
    const LPARAM at = MAKELPARAM(LOWORD(point) + 2, HIWORD(point) + 4);
    PostMessageA(textWindow, WM_MOUSEMOVE, 0, at);
    PostMessageA(textWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(textWindow, WM_LBUTTONUP, 0, at);
    return true;
}

// How many pixels of the window show the colour of jumps, read from the screen.
int PixelsOfColour(HWND window, COLORREF colour)
{
    RECT place = {};
    GetWindowRect(window, &place);
    const Capture shown = Capture::Screen(place);
    int count = 0;
    for (int y = 0; y < shown.Height(); ++y)
    {
        for (int x = 0; x < shown.Width(); ++x)
        {
            count += shown.At(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

class HelpViewerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (HWND viewer = FindWindowA("MS_WINHELP", nullptr))
        {
            PostMessageA(viewer, WM_CLOSE, 0, 0);
            WaitUntil([] { return FindWindowA("MS_WINHELP", nullptr) == nullptr; }, VIEWER_TIMEOUT_MS);
        }
    }
};

TEST_F(HelpViewerTest, OpensTheContentsWithoutAnErrorAndFollowsAJump)
{
    ScratchFolder folder{ScratchFolder::Current::MAKE};
    ASSERT_TRUE(CopyFileA(BuiltHelp("help.hlp").c_str(), "help.hlp", FALSE));
    UiSession session;
    HWND main = session.WaitMainWindow();
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(session.ChooseMenu(IDM_HELP));
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (viewer = FindWindowA("MS_WINHELP", nullptr)) != nullptr; },
                          VIEWER_TIMEOUT_MS));
    HWND text = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            text = FindTextWindow(viewer);
            return text != nullptr && ShownTopic(text).find("Choose a subject:") != std::string::npos;
        },
        VIEWER_TIMEOUT_MS));

    EXPECT_EQ(WindowText(viewer), HELP_TITLE);
    const std::string contents = ShownTopic(text);
    EXPECT_EQ(contents.rfind(HELP_TITLE, 0), 0u) << contents;
    for (const char* subject : {"Starting out", "The main window", "Messages and what to do", "Keys"})
    {
        EXPECT_NE(contents.find(subject), std::string::npos) << subject;
    }
    EXPECT_EQ(FindWindowA("#32770", "ERROR"), nullptr) << "the viewer complained";
    ExpectNoMessage(session);
    // The viewer paints a moment after its text is in place.
    EXPECT_TRUE(WaitUntil([&] { return PixelsOfColour(text, JUMP_COLOUR) > 100; }, VIEWER_TIMEOUT_MS))
        << "no jump drawn in the contents";
    ASSERT_TRUE(WaitPainted(viewer, VIEWER_TIMEOUT_MS));

    ASSERT_TRUE(ClickText(text, "Keys:"));
    EXPECT_TRUE(WaitUntil([&] { return ShownTopic(text).rfind("Keys\r", 0) == 0; }, VIEWER_TIMEOUT_MS))
        << ShownTopic(text);
    EXPECT_NE(ShownTopic(text).find("Alt and the menus"), std::string::npos);

    ASSERT_TRUE(WaitPainted(viewer, VIEWER_TIMEOUT_MS));
    ASSERT_TRUE(ClickText(text, "Contents"));
    EXPECT_TRUE(WaitUntil([&] { return ShownTopic(text).rfind(HELP_TITLE, 0) == 0; }, VIEWER_TIMEOUT_MS))
        << ShownTopic(text);
}

// --- the seam: which platform the program believes it runs on ---

struct SFakePlatform
{
    bool wine;
    ULONG major;
    ULONG minor;
    ULONG build;
};

SFakePlatform g_platform = {};
INT_PTR g_shellResult = SHELL_OPENED;
std::mutex g_callsLock;
std::vector<std::string> g_shellOpened;
FARPROC(WINAPI* g_realGetProcAddress)(HMODULE, LPCSTR) = nullptr;

LONG WINAPI FakeRtlGetVersion(OSVERSIONINFOW* version)
{
    version->dwMajorVersion = g_platform.major;
    version->dwMinorVersion = g_platform.minor;
    version->dwBuildNumber = g_platform.build;
    version->dwPlatformId = VER_PLATFORM_WIN32_NT;
    return 0;
}

LONG WINAPI FakeWineGetVersion()
{
    return 0;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF)
    {
        if (std::strcmp(name, "RtlGetVersion") == 0)
        {
            return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeRtlGetVersion));
        }
        if (std::strcmp(name, "wine_get_version") == 0)
        {
            return g_platform.wine ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeWineGetVersion))
                                   : nullptr;
        }
    }
    return g_realGetProcAddress(module, name);
}

HINSTANCE WINAPI FakeShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    std::lock_guard<std::mutex> lock(g_callsLock);
    g_shellOpened.push_back(std::string(operation ? operation : "(default)") + " " + file);
    return reinterpret_cast<HINSTANCE>(g_shellResult);
}

class HelpPlatformTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_realGetProcAddress = GetProcAddress;
        g_shellOpened.clear();
        g_shellResult = SHELL_OPENED;
        ASSERT_TRUE(m_getProcAddress.IsActive());
        ASSERT_TRUE(m_shellExecute.IsActive());
        ASSERT_TRUE(m_winHelp.IsActive());
    }

    std::vector<std::string> ShellOpened()
    {
        std::lock_guard<std::mutex> lock(g_callsLock);
        return g_shellOpened;
    }

    // Each WinHelpA call since the last Forget, as "file command data".
    std::vector<std::string> HelpCalls() const
    {
        const std::vector<WinHelpRecorder::Call> all = m_winHelp.Calls();
        std::vector<std::string> calls;
        for (std::size_t i = m_forgotten; i < all.size(); ++i)
        {
            calls.push_back(all[i].file + " " + std::to_string(all[i].command) + " " +
                            std::to_string(all[i].data));
        }
        return calls;
    }

    void Forget()
    {
        std::lock_guard<std::mutex> lock(g_callsLock);
        g_shellOpened.clear();
        m_forgotten = m_winHelp.Calls().size();
    }

    ImportSwap m_getProcAddress{"kernel32.dll", "GetProcAddress",
                                reinterpret_cast<void*>(FakeGetProcAddress)};
    ImportSwap m_shellExecute{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(FakeShellExecuteA)};
    WinHelpRecorder m_winHelp;
    std::size_t m_forgotten = 0;
};

std::string FolderOfProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

struct SPlatformCase
{
    const char* name;
    SFakePlatform platform;
    bool viewer; // WinHelpA, or else the page through the shell
};

const SPlatformCase PLATFORM_CASES[] = {
    {"Wine, which reports Windows 10", {true, 10, 0, 19045}, true},
    {"Windows 7", {false, 6, 1, 7601}, true},
    {"Windows 8.1", {false, 6, 3, 9600}, true},
    {"Windows 10", {false, 10, 0, 19045}, false},
    {"Windows 11", {false, 10, 0, 22631}, false},
};

TEST_F(HelpPlatformTest, ViewerWhereOneExistsAndThePageElsewhere)
{
    ScratchFolder folder{ScratchFolder::Current::MAKE};
    ASSERT_TRUE(CopyFileA(BuiltHelp("help.htm").c_str(), "help.htm", FALSE));
    UiSession session;
    HWND main = session.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    for (const SPlatformCase& test : PLATFORM_CASES)
    {
        SCOPED_TRACE(test.name);
        g_platform = test.platform;
        Forget();
        ASSERT_TRUE(session.ChooseMenu(IDM_HELP));
        ASSERT_TRUE(session.Sync());
        ExpectNoMessage(session);
        if (test.viewer)
        {
            EXPECT_EQ(HelpCalls(), std::vector<std::string>{"help.hlp 3 0"});
            EXPECT_TRUE(ShellOpened().empty());
        }
        else
        {
            EXPECT_TRUE(HelpCalls().empty());
            EXPECT_EQ(ShellOpened(), std::vector<std::string>{"open " + folder.Path() + "\\help.htm"});
        }
    }
}

struct SPageCase
{
    const char* name;
    bool inCurrentFolder;
    bool besideProgram;
    INT_PTR shellResult;
    enum
    {
        CURRENT_FOLDER,
        PROGRAM_FOLDER,
        NOWHERE
    } opened;
    bool message;
};

const SPageCase PAGE_CASES[] = {
    {"in the current folder and beside the program", true, true, SHELL_OPENED, SPageCase::CURRENT_FOLDER,
     false},
    {"beside the program only", false, true, SHELL_OPENED, SPageCase::PROGRAM_FOLDER, false},
    {"nowhere", false, false, SHELL_OPENED, SPageCase::NOWHERE, true},
    {"found, but nothing opens web pages", true, false, SHELL_NO_ASSOCIATION, SPageCase::CURRENT_FOLDER,
     true},
};

TEST_F(HelpPlatformTest, PageIsLookedForInTheCurrentFolderThenBesideTheProgram)
{
    g_platform = {false, 10, 0, 19045};
    const std::string besideProgram = FolderOfProgram() + "\\help.htm";
    for (const SPageCase& test : PAGE_CASES)
    {
        SCOPED_TRACE(test.name);
        ScratchFolder folder{ScratchFolder::Current::MAKE};
        const std::string inCurrentFolder = folder.Path() + "\\help.htm";
        if (test.inCurrentFolder)
        {
            ASSERT_TRUE(CopyFileA(BuiltHelp("help.htm").c_str(), "help.htm", FALSE));
        }
        if (test.besideProgram)
        {
            ASSERT_TRUE(CopyFileA(BuiltHelp("help.htm").c_str(), besideProgram.c_str(), FALSE));
        }
        Forget();
        g_shellResult = test.shellResult;
        UiSession session;
        HWND main = session.WaitMainWindow();
        ASSERT_NE(main, nullptr);

        ASSERT_TRUE(session.ChooseMenu(IDM_HELP));
        if (test.message)
        {
            ExpectMessages(session,
                           {{main, "Error",
                             "Cannot show the help: help.htm was not found or could not be opened.\n\n"
                             "Looked for in the current folder:\n" +
                                 inCurrentFolder + "\n\nand beside the program:\n" + besideProgram,
                             MB_ICONHAND}});
        }
        else
        {
            ASSERT_TRUE(session.Sync());
            ExpectNoMessage(session);
        }
        std::vector<std::string> expected;
        if (test.opened == SPageCase::CURRENT_FOLDER)
        {
            expected.push_back("open " + inCurrentFolder);
        }
        else if (test.opened == SPageCase::PROGRAM_FOLDER)
        {
            expected.push_back("open " + besideProgram);
        }
        EXPECT_EQ(ShellOpened(), expected);
        EXPECT_TRUE(HelpCalls().empty());
        EXPECT_EQ(WindowText(main), "Kolvarn's Zerak Resources Calculator");
        DeleteFileA(besideProgram.c_str());
    }
}

} // namespace
