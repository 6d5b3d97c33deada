// Brings the shipped program into a given state, as a user would, and saves pictures of its
// windows as they stand on the screen. Used by scripts/screenshot.sh and scripts/run.sh.
//
//   ZerakShot.exe PROGRAM.exe FOLDER STEP...
//
// The program runs in FOLDER. Steps, in order:
//   sample            write a sample coldata.dat into FOLDER
//   send:ID           send the main window command ID and wait until it is handled
//   open:ID           post the main window command ID and wait for the dialog it opens
//   select:LINE       click on line LINE (from 0) of the colony list
//   set:ID:TEXT       put TEXT into control ID of the open dialog
//   click:ID          press button ID of the open dialog
//   shot:FILE.bmp     save the program's visible windows (all of them, on their screen places)
// At the end every dialog and then the main window are closed.

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

HWND OpenDialog(Program& program)
{
    for (HWND window : program.Windows())
    {
        if (window != program.MainWindow())
            return window;
    }
    return nullptr;
}

// Waits until every window of the program has answered and has nothing left to paint.
bool Settle(Program& program)
{
    return WaitUntil(
        [&]
        {
            for (HWND window : program.Windows())
            {
                if (SendWithTimeout(window, WM_NULL) == -1 || !NothingLeftToPaint(window))
                    return false;
            }
            return true;
        });
}

bool Shot(Program& program, const std::string& path)
{
    if (!Settle(program))
        std::fprintf(stderr, "warning: the program did not settle before %s\n", path.c_str());
    RECT area = {};
    bool first = true;
    for (HWND window : program.Windows())
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

bool RunStep(Program& program, const std::string& step)
{
    const std::string::size_type colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string arg = colon == std::string::npos ? "" : step.substr(colon + 1);
    HWND main = program.MainWindow();
    if (verb == "send")
    {
        return SendWithTimeout(main, WM_COMMAND, std::strtoul(arg.c_str(), nullptr, 10)) != -1;
    }
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
    if (verb == "shot")
        return Shot(program, arg);
    std::fprintf(stderr, "unknown step \"%s\"\n", step.c_str());
    return false;
}

// Ends the run the way a user would: OK, or else Cancel, on whatever box is open, then
// the main window's close. A run that will not end is ended by Program's destructor.
void CloseAll(Program& program)
{
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
    Program program;
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
        if (!RunStep(program, step))
        {
            std::fprintf(stderr, "step \"%s\" failed\n", step.c_str());
            status = 1;
            break;
        }
    }
    CloseAll(program);
    return status;
}
