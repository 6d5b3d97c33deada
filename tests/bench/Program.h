#pragma once

// A program run from outside, as a user's desktop runs it: started in a folder of its own
// with a show command; its windows are found and read through bench/Screen.h.

#include "bench/Screen.h"

namespace bench
{

// A program started cold under Wine may take this long to show its first window.
constexpr DWORD START_TIMEOUT_MS = 20000;

// A host path as Windows sees it: "/a/b" becomes "Z:\a\b"; a Windows path stays as it is.
std::string WindowsPath(const std::string& path);

// One run of a program. A run still going when the object dies is ended by force, so a
// failed test leaves no window behind for the next.
class Program
{
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program in folder (empty: the current one) with the given show command
    // (STARTUPINFO wShowWindow).
    bool Start(const std::string& program, const std::string& folder, WORD showCommand = SW_SHOWNORMAL);

    // The first visible top-level window of the program of this class once there is one,
    // or null at the deadline; it becomes the main window.
    HWND WaitForMainWindow(const std::string& className, DWORD timeoutMs = START_TIMEOUT_MS);
    // A visible top-level window of the program other than the main window, of this class
    // (any class when empty), or null at the deadline.
    HWND WaitForOtherWindow(const std::string& className = "#32770", DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
    // A visible dialog (not a message box) of the program with this caption, or null at the
    // deadline.
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = DEFAULT_TIMEOUT_MS) const;
    // The program's visible top-level windows.
    std::vector<HWND> Windows() const { return ProcessWindows(ProcessId()); }

    // True when the program ended within the time; exitCode receives its code.
    bool WaitForExit(DWORD& exitCode, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
    // True while the program waits for input with nothing left to handle.
    bool WaitForIdle(DWORD timeoutMs = DEFAULT_TIMEOUT_MS) const;
    // Ends it at once, as the task manager would.
    void Kill();

    DWORD ProcessId() const { return m_process.dwProcessId; }
    HANDLE Process() const { return m_process.hProcess; }
    HWND MainWindow() const { return m_main; }

private:
    HWND WaitForWindow(const std::string& className, HWND exclude, DWORD timeoutMs) const;

    PROCESS_INFORMATION m_process = {};
    HWND m_main = nullptr;
};

} // namespace bench
