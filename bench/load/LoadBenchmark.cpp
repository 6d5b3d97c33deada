// Benchmark, not a test: how long File, Load data takes on a large coldata.dat under the
// real main window, from the command to the repainted window. Prints one line per run.
// bench/load/run.sh builds and runs it under Wine.
//   main_window_load_benchmark [colonies...]   (default 100000 1000000)

#include "bench/Session.h"

#include "res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace bench;

namespace
{

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One load through the menu, timed until the list box holds every line and has painted.
bool TimeLoad(UiSession& session, HWND window, std::size_t colonies, double& seconds)
{
    const DWORD timeout = 600000;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    if (!session.ChooseMenu(IDM_LOADDATA) || !session.Sync(timeout))
    {
        return false;
    }
    // Paint now, on the UI thread, what the refresh invalidated.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!session.Sync(timeout))
    {
        return false;
    }
    QueryPerformanceCounter(&end);
    seconds = Seconds(start, end);
    const LRESULT lines = SendMessageA(GetDlgItem(window, IDC_COLONYLIST), LB_GETCOUNT, 0, 0);
    return lines == static_cast<LRESULT>(colonies) && session.FindMessageBox().window == nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i)
    {
        sizes.push_back(static_cast<std::size_t>(std::strtoul(argv[i], nullptr, 10)));
    }
    if (sizes.empty())
    {
        sizes = {100000, 1000000};
    }

    int status = 0;
    for (std::size_t colonies : sizes)
    {
        ScratchFolder directory{ScratchFolder::Current::MAKE};
        std::vector<ColonyRecord> records;
        records.reserve(colonies);
        for (std::size_t i = 0; i < colonies; ++i)
        {
            records.push_back({"Colony " + std::to_string(i + 1), static_cast<std::uint32_t>(i),
                               static_cast<std::uint32_t>(i * 3), static_cast<std::uint32_t>(i * 7)});
        }
        if (!WriteColonyFile("coldata.dat", records))
        {
            std::printf("cannot write coldata.dat\n");
            return 1;
        }
        UiSession session;
        HWND window = session.WaitMainWindow();
        if (window == nullptr)
        {
            std::printf("no main window\n");
            return 1;
        }
        // The first load fills an empty list box; the second replaces every line.
        for (const char* run : {"into the empty window", "over the same list"})
        {
            double seconds = 0;
            if (!TimeLoad(session, window, colonies, seconds))
            {
                std::printf("%zu colonies: load did not complete\n", colonies);
                status = 1;
                break;
            }
            std::printf("%8zu colonies, load %-22s %7.3f s\n", colonies, run, seconds);
            std::fflush(stdout);
        }
    }
    return status;
}
