#include "exe/ExeDriver.h"

#include <cstring>
#include <fstream>

#ifndef ZERAK_CALC_EXE
#error "ZERAK_CALC_EXE must name the built ZerakCalc.exe"
#endif

namespace exe
{

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;)
    {
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(10);
    }
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    for (char& c : result)
    {
        if (c == '/')
            c = '\\';
    }
    return result;
}

std::string ProgramPath()
{
    return WindowsPath(ZERAK_CALC_EXE);
}

namespace
{

void PutLittleEndianDouble(char* out, double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

struct Search
{
    DWORD processId;
    HWND exclude;
    const char* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    Search& search = *reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || window == search.exclude)
        return TRUE;
    if (search.visibleOnly && !IsWindowVisible(window))
        return TRUE;
    if (search.className != nullptr && ClassName(window) != search.className)
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> FindWindows(DWORD processId, HWND exclude, const char* className, bool visibleOnly)
{
    Search search{processId, exclude, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool WriteColonyFile(const std::string& path, const std::vector<ColonyRecord>& colonies)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const ColonyRecord& colony : colonies)
    {
        char record[224] = {};
        std::memcpy(record, colony.name.data(), colony.name.size() < 200 ? colony.name.size() : 200);
        PutLittleEndianDouble(record + 200, colony.metal);
        PutLittleEndianDouble(record + 208, colony.crystal);
        PutLittleEndianDouble(record + 216, colony.deuterium);
        out.write(record, sizeof record);
    }
    out.close();
    return static_cast<bool>(out);
}

std::vector<char> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScratchFolder::ScratchFolder()
{
    static LONG counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (;;)
    {
        m_path = std::string(temp) + "zerak-exe-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(InterlockedIncrement(&counter));
        if (CreateDirectoryA(m_path.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

ScratchFolder::~ScratchFolder()
{
    WIN32_FIND_DATAA entry = {};
    HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(File(entry.cFileName).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(m_path.c_str());
}

Program::~Program()
{
    if (m_process.hProcess == nullptr)
        return;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
    {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, DEADLINE_MS);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

bool Program::Start(const std::string& folder, WORD showCommand, const std::string& program)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    std::string commandLine = "\"" + program + "\"";
    return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &m_process) != FALSE;
}

HWND Program::WaitForMainWindow(const char* className)
{
    WaitUntil(
        [&]
        {
            const std::vector<HWND> windows = FindWindows(ProcessId(), nullptr, className, true);
            m_main = windows.empty() ? nullptr : windows.front();
            return m_main != nullptr;
        });
    return m_main;
}

HWND Program::WaitForOtherWindow(const char* className)
{
    HWND other = nullptr;
    WaitUntil(
        [&]
        {
            const std::vector<HWND> windows = FindWindows(ProcessId(), m_main, className, true);
            other = windows.empty() ? nullptr : windows.front();
            return other != nullptr;
        });
    return other;
}

std::vector<HWND> Program::VisibleWindows() const
{
    return FindWindows(ProcessId(), nullptr, nullptr, true);
}

bool Program::WaitForExit(DWORD& exitCode, DWORD timeoutMs)
{
    if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(m_process.hProcess, &exitCode) != FALSE;
}

bool Program::WaitForIdle(DWORD timeoutMs) const
{
    return WaitForInputIdle(m_process.hProcess, timeoutMs) == 0;
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string AskedText(HWND window)
{
    char text[512] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, DEADLINE_MS, &copied))
        return "<no answer>";
    return std::string(text, copied < sizeof text ? copied : sizeof text - 1);
}

std::string ClassName(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

SIZE OuterSize(HWND window)
{
    RECT frame = {};
    GetWindowRect(window, &frame);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void ClickAt(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT clicks[2] = {};
    clicks[0].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].type = INPUT_MOUSE;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

bool FindCloseBox(HWND window, POINT& screen)
{
    RECT frame = {};
    GetWindowRect(window, &frame);
    RECT client = {};
    GetClientRect(window, &client);
    POINT clientTop = {0, 0};
    ClientToScreen(window, &clientTop);
    // The caption lies between the window's top edge and the client area (menu included);
    // walk it from the right until the window names a point as its close box.
    for (int y = frame.top + 1; y < clientTop.y; y += 2)
    {
        for (int x = frame.right - 1; x > frame.right - 80 && x > frame.left; x -= 2)
        {
            DWORD_PTR hit = 0;
            if (SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, DEADLINE_MS,
                                    &hit) &&
                hit == HTCLOSE)
            {
                // Aim at the middle of the box rather than at its edge.
                screen = POINT{x - 4, y + 4};
                DWORD_PTR again = 0;
                SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG,
                                    DEADLINE_MS, &again);
                if (again != HTCLOSE)
                    screen = POINT{x, y};
                return true;
            }
        }
    }
    return false;
}

} // namespace exe
