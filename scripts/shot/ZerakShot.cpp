// Brings the shipped program into a given state, as a user would, and saves pictures of its
// windows as they stand on the screen. Used by scripts/screenshot.sh and scripts/run.sh.
//
//   ZerakShot.exe PROGRAM.exe FOLDER STEP...
//
// The program runs in FOLDER. Steps, in order:
//   sample            write a sample coldata.dat into FOLDER
//   send:ID           send the main window command ID and wait until it is handled
//   post:ID           post the main window command ID and go on at once (Help: the viewer
//                     it starts is waited for with await)
//   open:ID           post the main window command ID and wait for the dialog it opens
//   select:LINE       click on line LINE (from 0) of the colony list
//   set:ID:TEXT       put TEXT into control ID of the open dialog
//   click:ID          press button ID of the open dialog
//   closed            wait until the program shows no dialog (one that a click ended)
//   await:CLASS:TEXT  wait for a window of another program (Wine's help viewer, MS_WINHELP)
//                     of class CLASS that shows TEXT in its caption or in one of its
//                     controls; it is in the later pictures, and is closed at the end
//   shot:FILE.bmp     save the program's visible windows (all of them, on their screen places)
// At the end every awaited window, every dialog and then the main window are closed. A step
// that fails ends the run with exit code 1 and says which.

#include "bench/Files.h"
#include "bench/Program.h"

#include "res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

using namespace bench;

namespace
{

const std::vector<ColonyRecord> SAMPLE = {
    {"Velquin Prime", 2940, 1620, 780}, {"Kolvarn's Rest", 1710, 960, 420}, {"Aster Reach", 1260, 690, 1150},
    {"Outpost Nine", 420, 240, 60},     {"Deep Moon", 880, 1440, 330},
};

// Another program's window is given this long to come up: Wine starts its help viewer cold.
constexpr DWORD OTHER_PROGRAM_TIMEOUT_MS = 30000;

// One run: the program, and the windows of other programs it opened that the steps awaited.
struct Run
{
    Program program;
    std::vector<HWND> others;
};

HWND OpenDialog(Program& program)
{
    for (HWND window : program.Windows())
    {
        if (window != program.MainWindow())
            return window;
    }
    return nullptr;
}

// The program's visible windows and the awaited ones that are still there.
std::vector<HWND> ShownWindows(const Run& run)
{
    std::vector<HWND> windows = run.program.Windows();
    for (HWND other : run.others)
    {
        if (IsWindow(other) && IsWindowVisible(other))
            windows.push_back(other);
    }
    return windows;
}

// Waits until every window shown has answered and has nothing left to paint.
bool Settle(const Run& run)
{
    return WaitUntil(
        [&]
        {
            for (HWND window : ShownWindows(run))
            {
                if (SendWithTimeout(window, WM_NULL) == -1 || !NothingLeftToPaint(window))
                    return false;
            }
            return true;
        });
}

bool Shot(const Run& run, const std::string& path)
{
    if (!Settle(run))
        std::fprintf(stderr, "warning: the program did not settle before %s\n", path.c_str());
    RECT area = {};
    bool first = true;
    for (HWND window : ShownWindows(run))
    {
        RECT frame = {};
        GetWindowRect(window, &frame);
        if (first)
            area = frame;
        else
            UnionRect(&area, &area, &frame);
        first = false;
    }
    if (first)
        return false;
    const bool saved = Capture::Screen(area).SaveBmp(path);
    std::printf("%s %ld %ld %ld %ld\n", path.c_str(), area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    return saved;
}

bool SelectLine(Program& program, int line)
{
    HWND list = GetDlgItem(program.MainWindow(), IDC_COLONYLIST);
    const LRESULT height = SendWithTimeout(list, LB_GETITEMHEIGHT);
    const LRESULT top = SendWithTimeout(list, LB_GETTOPINDEX);
    if (list == nullptr || height < 0 || top < 0)
        return false;
    POINT point = {8,
                   (line - static_cast<int>(top)) * static_cast<int>(height) + static_cast<int>(height) / 2};
    ClientToScreen(list, &point);
    ClickAt(point);
    return WaitUntil([&] { return SendWithTimeout(list, LB_GETCURSEL) == line; });
}

// The caption and the texts of every control inside, one a line: what a window shows in
// words, as far as another process can read it.
std::string TextShown(HWND window)
{
    std::string text = WindowText(window);
    EnumChildWindows(
        window,
        [](HWND child, LPARAM out) -> BOOL
        {
            *reinterpret_cast<std::string*>(out) += "\n" + WindowText(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

// A visible top-level window of another process than this one and the program's, of this
// class, showing this text.
HWND FindOtherProgramWindow(const Program& program, const std::string& className, const std::string& text)
{
    for (HWND window : VisibleTopLevelWindows())
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != GetCurrentProcessId() && processId != program.ProcessId() &&
            ClassName(window) == className && TextShown(window).find(text) != std::string::npos)
            return window;
    }
    return nullptr;
}

bool AwaitOtherProgramWindow(Run& run, const std::string& arg)
{
    const std::string::size_type colon = arg.find(':');
    const std::string className = arg.substr(0, colon);
    const std::string text = colon == std::string::npos ? "" : arg.substr(colon + 1);
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindOtherProgramWindow(run.program, className, text)) != nullptr; },
              OTHER_PROGRAM_TIMEOUT_MS);
    if (found == nullptr)
        return false;
    run.others.push_back(found);
    std::printf("window %s \"%s\"\n", className.c_str(), WindowText(found).c_str());
    return true;
}

bool RunStep(Run& run, const std::string& step)
{
    Program& program = run.program;
    const std::string::size_type colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string arg = colon == std::string::npos ? "" : step.substr(colon + 1);
    HWND main = program.MainWindow();
    if (verb == "send")
    {
        return SendWithTimeout(main, WM_COMMAND, std::strtoul(arg.c_str(), nullptr, 10)) != -1;
    }
    if (verb == "post")
        return PostMessageA(main, WM_COMMAND, std::strtoul(arg.c_str(), nullptr, 10), 0) != FALSE;
    if (verb == "open")
    {
        PostMessageA(main, WM_COMMAND, std::strtoul(arg.c_str(), nullptr, 10), 0);
        return program.WaitForOtherWindow("") != nullptr;
    }
    if (verb == "select")
        return SelectLine(program, std::atoi(arg.c_str()));
    if (verb == "set" || verb == "click")
    {
        HWND dialog = OpenDialog(program);
        const int id = std::atoi(arg.c_str());
        HWND control = dialog == nullptr ? nullptr : GetDlgItem(dialog, id);
        if (control == nullptr)
            return false;
        if (verb == "click")
            return PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
        const std::string text =
            arg.substr(arg.find(':') == std::string::npos ? arg.size() : arg.find(':') + 1);
        return SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != -1;
    }
    if (verb == "closed")
        return WaitUntil([&] { return OpenDialog(program) == nullptr; });
    if (verb == "await")
        return AwaitOtherProgramWindow(run, arg);
    if (verb == "shot")
        return Shot(run, arg);
    std::fprintf(stderr, "unknown step \"%s\"\n", step.c_str());
    return false;
}

// Closes another program's window as its close box would; a program that will not close is
// ended, so that no viewer is left for the next run.
void CloseOtherProgramWindow(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return !IsWindow(window); }) && process != nullptr)
        TerminateProcess(process, 1);
    if (process != nullptr)
    {
        WaitForSingleObject(process, DEFAULT_TIMEOUT_MS);
        CloseHandle(process);
    }
}

// Ends the run the way a user would: the awaited windows of other programs closed, OK, or
// else Cancel, on whatever box is open, then the main window's close. A run that will not
// end is ended by Program's destructor.
void CloseAll(Run& run)
{
    for (HWND other : run.others)
    {
        if (IsWindow(other))
            CloseOtherProgramWindow(other);
    }
    Program& program = run.program;
    for (int round = 0; round < 10; ++round)
    {
        HWND dialog = OpenDialog(program);
        if (dialog == nullptr)
            break;
        for (WPARAM button : {IDOK, IDCANCEL})
        {
            PostMessageA(dialog, WM_COMMAND, button, 0);
            if (WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 2000))
                break;
        }
    }
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    DWORD code = 0;
    program.WaitForExit(code, 5000);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: ZerakShot PROGRAM.exe FOLDER STEP...\n");
        return 2;
    }
    const std::string folder = WindowsPath(argv[2]);
    std::vector<std::string> steps(argv + 3, argv + argc);
    // The data file must be in place before the program starts, as a user's would be.
    for (const std::string& step : steps)
    {
        if (step == "sample" && !WriteColonyFile(folder + "\\coldata.dat", SAMPLE))
        {
            std::fprintf(stderr, "cannot write the sample data file into %s\n", folder.c_str());
            return 1;
        }
    }
    Run run;
    Program& program = run.program;
    if (!program.Start(argv[1], folder) || program.WaitForMainWindow("Velquin Window") == nullptr ||
        !program.WaitForIdle())
    {
        std::fprintf(stderr, "the program did not come up\n");
        return 1;
    }
    int status = 0;
    for (const std::string& step : steps)
    {
        if (step == "sample")
            continue;
        if (!RunStep(run, step))
        {
            std::fprintf(stderr, "step \"%s\" failed\n", step.c_str());
            status = 1;
            break;
        }
    }
    CloseAll(run);
    return status;
}
