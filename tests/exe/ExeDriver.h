#pragma once

// Drives the shipped ZerakCalc.exe from another process, as a user's desktop would: starts it
// in a folder of its own with a show command, finds its windows, reads what they show and
// waits for the process to end. Every wait polls against a deadline.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace exe
{

// How long a step may take before it counts as hung; generous for a cold Wine.
constexpr DWORD DEADLINE_MS = 20000;

// True as soon as condition() holds, false when it still does not after timeoutMs.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = DEADLINE_MS);

// The built ZerakCalc.exe, as a Windows path.
std::string ProgramPath();

// A host path as Windows sees it: "/a/b" becomes "Z:\a\b"; a Windows path stays as it is.
std::string WindowsPath(const std::string& path);

struct ColonyRecord
{
    std::string name;
    std::uint32_t metal;
    std::uint32_t crystal;
    std::uint32_t deuterium;
};

// Writes a coldata.dat of 224-byte records (name in 200 bytes, three little-endian doubles).
bool WriteColonyFile(const std::string& path, const std::vector<ColonyRecord>& colonies);

// The bytes of a file, or an empty vector when it cannot be read.
std::vector<char> ReadWholeFile(const std::string& path);

// A fresh empty folder under the temporary folder, removed with what it holds.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// One run of the program. A run still going when the object dies is ended by force, so a
// failed test leaves no window behind for the next.
class Program
{
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program in folder with the given show command (STARTUPINFO wShowWindow).
    bool Start(const std::string& folder, WORD showCommand = SW_SHOWNORMAL,
               const std::string& program = ProgramPath());

    // The main window once it exists and is visible, or null at the deadline.
    HWND WaitForMainWindow(const char* className = "Velquin Window");

    // A visible top-level window of the program other than the main window (a dialog or a
    // message box) whose class is className, or null at the deadline.
    HWND WaitForOtherWindow(const char* className = "#32770");

    // Every visible top-level window of the program.
    std::vector<HWND> VisibleWindows() const;

    // True when the program ended within the deadline; exitCode receives its code.
    bool WaitForExit(DWORD& exitCode, DWORD timeoutMs = DEADLINE_MS);

    // True while the program waits for input with nothing left to handle.
    bool WaitForIdle(DWORD timeoutMs = DEADLINE_MS) const;

    DWORD ProcessId() const { return m_process.dwProcessId; }
    HANDLE Process() const { return m_process.hProcess; }
    HWND MainWindow() const { return m_main; }

private:
    PROCESS_INFORMATION m_process = {};
    HWND m_main = nullptr;
};

// Texts as the user sees them. The window text of another process's window is kept by the
// system; a control that draws its own text (the status bar) is asked with WM_GETTEXT.
std::string WindowText(HWND window);
std::string AskedText(HWND window);
std::string ClassName(HWND window);
SIZE OuterSize(HWND window);

// Presses and releases the left mouse button on a screen point.
void ClickAt(POINT screen);

// The screen point of the window's close box, found by asking the window what lies where
// along its caption; false when no point answers HTCLOSE.
bool FindCloseBox(HWND window, POINT& screen);

} // namespace exe
