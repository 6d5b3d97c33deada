// Benchmark, not a test: with a large list loaded in the real main window, how long each
// dialog takes to open and to do what a player does with a whole list in it, each figure set
// against File, Load data of the same list. Prints one line per operation.
// bench/run.sh builds and runs it under Wine.
//   dialog_benchmark [colonies...]   (default 100000 1000000)

#include "bench/Session.h"

#include "res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace bench;

namespace
{

constexpr DWORD OPERATION_TIMEOUT_MS = 900000;
// Typed into the first field before Calculate: days of production, or an amount wanted.
const char* const FIGURE_TYPED = "1000000";

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT LineCount(HWND parent, int id, UINT countMessage)
{
    return SendMessageA(GetDlgItem(parent, id), countMessage, 0, 0);
}

std::string TextOf(HWND parent, int id)
{
    char text[256] = {};
    GetDlgItemTextA(parent, id, text, static_cast<int>(sizeof text));
    return text;
}

class CDialogBench
{
public:
    CDialogBench(UiSession& session, HWND window, std::size_t colonies)
        : m_session(session), m_window(window), m_colonies(colonies), m_load(0), m_failed(false)
    {
    }

    bool Failed() const { return m_failed; }

    // Runs the action and waits until the program is idle again with everything painted, then
    // checks the outcome; prints the time, against the load once that is known.
    void Measure(const char* what, const std::function<bool()>& action, const std::function<bool()>& check)
    {
        if (m_failed)
        {
            return;
        }
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        const bool done = action() && Settle();
        QueryPerformanceCounter(&end);
        if (!done || !check() || m_session.FindMessageBox().window != nullptr)
        {
            std::printf("%8zu colonies, %-44s did not complete\n", m_colonies, what);
            m_failed = true;
            return;
        }
        const double seconds = Seconds(start, end);
        if (m_load == 0)
        {
            m_load = seconds;
            std::printf("%8zu colonies, %-44s %8.3f s\n", m_colonies, what, seconds);
        }
        else
        {
            std::printf("%8zu colonies, %-44s %8.3f s %6.2fx load\n", m_colonies, what, seconds,
                        seconds / m_load);
        }
        std::fflush(stdout);
    }

    bool Load() { return m_session.ChooseMenu(IDM_LOADDATA); }

    bool LoadedEverything() const
    {
        return LineCount(m_window, IDC_COLONYLIST, LB_GETCOUNT) == static_cast<LRESULT>(m_colonies);
    }

    // Opens a dialog from the menu; it counts as open once shown and idle.
    bool Open(int command, const char* caption, HWND& dialog)
    {
        if (!m_session.ChooseMenu(command))
        {
            return false;
        }
        dialog = m_session.WaitDialog(caption, OPERATION_TIMEOUT_MS);
        return dialog != nullptr;
    }

    bool Close(HWND dialog, int button)
    {
        return m_session.Click(dialog, button) && m_session.WaitGone(dialog, OPERATION_TIMEOUT_MS);
    }

    UiSession& Session() { return m_session; }
    std::size_t Colonies() const { return m_colonies; }

private:
    // Idle, then every window painted, then idle again.
    bool Settle()
    {
        if (!m_session.Sync(OPERATION_TIMEOUT_MS))
        {
            return false;
        }
        for (HWND top : m_session.TopLevelWindows())
        {
            RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        return m_session.Sync(OPERATION_TIMEOUT_MS);
    }

    UiSession& m_session;
    HWND m_window;
    std::size_t m_colonies;
    double m_load;
    bool m_failed;
};

void BenchViewColonies(CDialogBench& bench)
{
    HWND dialog = nullptr;
    bench.Measure(
        "open View colonies", [&] { return bench.Open(IDM_VIEWCOLONIES, "View colonies", dialog); },
        [&] {
            return LineCount(dialog, IDC_OVERVIEW_LIST, LB_GETCOUNT) ==
                   static_cast<LRESULT>(bench.Colonies());
        });
    bench.Measure(
        "close View colonies (Done)", [&] { return bench.Close(dialog, IDOK); }, [] { return true; });
}

struct SCalculationDialog
{
    const char* name;
    int command;
    const char* caption;
    int colonies;
    int addAll;
    int remove;
    int selected;
    int calculate;
    int firstField; // given a figure before Calculate
    int result;
};

const SCalculationDialog CALCULATION_DIALOGS[] = {
    {"Production calculation", IDM_PRODUCTION, "Production calculation", IDC_PROD_COLONY, IDC_PROD_ADDALL,
     IDC_PROD_REMOVE, IDC_PROD_SELECTED, IDC_PROD_CALCULATE, IDC_PROD_DAYS, IDC_PROD_METAL},
    {"Time calculation", IDM_TIME, "Time calculation", IDC_TIME_COLONY, IDC_TIME_ADDALL, IDC_TIME_REMOVE,
     IDC_TIME_SELECTED, IDC_TIME_CALCULATE, IDC_TIME_AMOUNT_METAL, IDC_TIME_METAL},
};

void BenchCalculationDialog(CDialogBench& bench, const SCalculationDialog& calculation)
{
    const auto all = static_cast<LRESULT>(bench.Colonies());
    const std::string name = calculation.name;
    HWND dialog = nullptr;
    bench.Measure(("open " + name).c_str(),
                  [&] { return bench.Open(calculation.command, calculation.caption, dialog); },
                  [&] { return LineCount(dialog, calculation.colonies, CB_GETCOUNT) == all; });
    bench.Measure(
        "  Add all", [&] { return bench.Session().Click(dialog, calculation.addAll); },
        [&] { return LineCount(dialog, calculation.selected, LB_GETCOUNT) == all; });
    bench.Session().SetText(dialog, calculation.firstField, FIGURE_TYPED);
    bench.Measure(
        "  Calculate", [&] { return bench.Session().Click(dialog, calculation.calculate); },
        [&] { return !TextOf(dialog, calculation.result).empty(); });
    bench.Measure(
        "  Remove of the last listed colony",
        [&]
        {
            return bench.Session().SelectLine(dialog, calculation.selected, static_cast<int>(all - 1)) &&
                   bench.Session().Click(dialog, calculation.remove);
        },
        [&] { return LineCount(dialog, calculation.selected, LB_GETCOUNT) == all - 1; });
    bench.Measure(
        "  close (Done)", [&] { return bench.Close(dialog, IDOK); }, [] { return true; });
}

void BenchModifyColony(CDialogBench& bench)
{
    HWND dialog = nullptr;
    bench.Measure(
        "open Modify colony", [&] { return bench.Open(IDM_MODIFYCOLONY, "Modify colony data", dialog); },
        [&] { return TextOf(dialog, IDC_CURRENT_NAME) == "Colony 1"; });
    bench.Measure(
        "  Next, first to second colony", [&] { return bench.Session().Click(dialog, IDC_NEXT); },
        [&] { return TextOf(dialog, IDC_CURRENT_NAME) == "Colony 2"; });
    bench.Measure(
        "  close (Done, the main list refilled)", [&] { return bench.Close(dialog, IDOK); },
        [&] { return bench.LoadedEverything(); });
}

void BenchDeleteColony(CDialogBench& bench)
{
    HWND dialog = nullptr;
    bench.Measure(
        "open Delete colony", [&] { return bench.Open(IDM_DELETECOLONY, "Delete colony", dialog); },
        [] { return true; });
    bench.Measure(
        "  close (Cancel)", [&] { return bench.Close(dialog, IDCANCEL); }, [] { return true; });
}

std::vector<ColonyRecord> MakeColonies(std::size_t colonies)
{
    std::vector<ColonyRecord> records;
    records.reserve(colonies);
    for (std::size_t i = 0; i < colonies; ++i)
    {
        records.push_back({"Colony " + std::to_string(i + 1), static_cast<std::uint32_t>(i),
                           static_cast<std::uint32_t>(i * 3), static_cast<std::uint32_t>(i * 7)});
    }
    return records;
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
        if (!WriteColonyFile("coldata.dat", MakeColonies(colonies)))
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
        CDialogBench bench(session, window, colonies);
        // Every ratio is to this load into the empty window.
        bench.Measure(
            "main window: File, Load data", [&] { return bench.Load(); },
            [&] { return bench.LoadedEverything(); });
        BenchViewColonies(bench);
        for (const SCalculationDialog& calculation : CALCULATION_DIALOGS)
        {
            BenchCalculationDialog(bench, calculation);
        }
        BenchModifyColony(bench);
        BenchDeleteColony(bench);
        bench.Measure(
            "main window: File, Load data over the list", [&] { return bench.Load(); },
            [&] { return bench.LoadedEverything(); });
        if (bench.Failed())
        {
            status = 1;
        }
    }
    return status;
}
