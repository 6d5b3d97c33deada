#include "bench/Program.h"

namespace bench
{

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
    {
        return path;
    }
    std::string result = "Z:" + path;
    for (char& c : result)
    {
        if (c == '/')
        {
            c = '\\';
        }
    }
    return result;
}

Program::~Program()
{
    if (m_process.hProcess == nullptr)
    {
        return;
    }
    Kill();
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

bool Program::Start(const std::string& program, const std::string& folder, WORD showCommand)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    const std::string path = WindowsPath(program);
    std::string commandLine = "\"" + path + "\"";
    return CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &m_process) != FALSE;
}

HWND Program::WaitForWindow(const std::string& className, HWND exclude, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&]
        {
            for (HWND window : Windows())
            {
                if (window != exclude && (className.empty() || ClassName(window) == className))
                {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND Program::WaitForMainWindow(const std::string& className, DWORD timeoutMs)
{
    m_main = WaitForWindow(className, nullptr, timeoutMs);
    return m_main;
}

HWND Program::WaitForOtherWindow(const std::string& className, DWORD timeoutMs)
{
    return WaitForWindow(className, m_main, timeoutMs);
}

HWND Program::WaitForDialog(const std::string& caption, DWORD timeoutMs) const
{
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(Windows(), caption)) != nullptr; }, timeoutMs);
    return dialog;
}

bool Program::WaitForExit(DWORD& exitCode, DWORD timeoutMs)
{
    if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
    {
        return false;
    }
    return GetExitCodeProcess(m_process.hProcess, &exitCode) != FALSE;
}

bool Program::WaitForIdle(DWORD timeoutMs) const
{
    return WaitForInputIdle(m_process.hProcess, timeoutMs) == 0;
}

void Program::Kill()
{
    if (m_process.hProcess != nullptr && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
    {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, DEFAULT_TIMEOUT_MS);
    }
}

} // namespace bench
