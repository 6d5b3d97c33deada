// Times start-up to the first painted main window, for several programs side by side.
//
//   StartupTimer RUNS NAME PROGRAM.exe CLASS [NAME PROGRAM.exe CLASS]...
//
// Each run starts the program, and the clock stops once a visible top-level window of the
// given class belongs to it, neither it nor any of its children has anything left to paint,
// and the program waits for input in its message loop. The window is then closed and the
// program's end awaited before the next run. The programs take turns, so that whatever
// else the machine does falls on all of them alike.
#include "bench/Program.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

struct Subject
{
    std::string name;
    std::string program;
    std::string windowClass;
    std::vector<double> millis;
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One start; the milliseconds to the painted window, or a negative value when it failed.
double TimeOneStart(const Subject& subject)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    bench::Program program;
    QueryPerformanceCounter(&start);
    if (!program.Start(subject.program, ""))
    {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", subject.program.c_str(), GetLastError());
        return -1;
    }
    double result = -1;
    HWND window = nullptr;
    for (;;)
    {
        QueryPerformanceCounter(&now);
        if (Seconds(start, now, frequency) > 30)
            break;
        if (window == nullptr)
            window = program.WaitForMainWindow(subject.windowClass, 0);
        if (window != nullptr && bench::NothingLeftToPaint(window) && program.WaitForIdle(0))
        {
            QueryPerformanceCounter(&now);
            result = 1000.0 * Seconds(start, now, frequency);
            break;
        }
        Sleep(1);
    }
    if (window != nullptr)
        PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    program.WaitForExit(exitCode);
    return result;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || (argc - 2) % 3 != 0)
    {
        std::fprintf(stderr, "usage: StartupTimer RUNS NAME PROGRAM.exe CLASS [NAME PROGRAM.exe CLASS]...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Subject> subjects;
    for (int i = 2; i + 2 < argc; i += 3)
        subjects.push_back(Subject{argv[i], argv[i + 1], argv[i + 2], {}});

    // One start of each that is not counted: the first start of anything pays for loading
    // Wine's own DLLs from disk.
    for (const Subject& subject : subjects)
        TimeOneStart(subject);

    for (int run = 0; run < runs; ++run)
    {
        for (Subject& subject : subjects)
        {
            const double ms = TimeOneStart(subject);
            if (ms < 0)
            {
                std::fprintf(stderr, "%s: no painted window within 30 s\n", subject.name.c_str());
                return 1;
            }
            subject.millis.push_back(ms);
        }
    }

    std::printf("%-12s %6s %9s %9s %9s %9s %9s %9s\n", "program", "runs", "min ms", "p25", "median", "mean",
                "p90", "max");
    for (const Subject& subject : subjects)
    {
        double sum = 0;
        for (double ms : subject.millis)
            sum += ms;
        std::printf("%-12s %6d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f\n", subject.name.c_str(), runs,
                    Percentile(subject.millis, 0.0), Percentile(subject.millis, 0.25),
                    Percentile(subject.millis, 0.5), sum / static_cast<double>(runs),
                    Percentile(subject.millis, 0.9), Percentile(subject.millis, 1.0));
    }
    // The machine's other work only ever adds time, so the lower statistics are the steadier
    // measure of what the programs themselves cost; all three are given.
    const struct
    {
        const char* name;
        double fraction;
    } STATISTICS[] = {{"min", 0.0}, {"p25", 0.25}, {"median", 0.5}};
    // Every program against each one given before it.
    for (size_t i = 1; i < subjects.size(); ++i)
    {
        for (size_t base = 0; base < i; ++base)
        {
            for (const auto& statistic : STATISTICS)
                std::printf("%s / %s at %s: %.3f\n", subjects[i].name.c_str(), subjects[base].name.c_str(),
                            statistic.name,
                            Percentile(subjects[i].millis, statistic.fraction) /
                                Percentile(subjects[base].millis, statistic.fraction));
        }
    }
    return 0;
}
