// Peak memory of File, Load data natively: a fresh process holds a list of N colonies, saves
// it, and loads the file over it; prints the high-water mark above what it held before the
// load, in bytes per colony. Linux only (/proc).
//   load_memory_bench N
#include "model/ColonyList.h"
#include "storage/ColonyFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

const char* g_failure = nullptr;

// A field of /proc/self/status in kB, or -1.
long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line))
    {
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
        {
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
        }
    }
    return -1;
}

} // namespace

void ReportFileError(const char* text)
{
    g_failure = text;
}

int main(int argc, char** argv)
{
    const long colonies = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000000;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zerak-memory-" + std::to_string(std::rand()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    for (long i = 0; i < colonies; ++i)
    {
        const auto n = static_cast<std::uint32_t>(i);
        g_ColonyList.AddColony("Colony " + std::to_string(i), n, n * 3u, n * 7u);
    }
    SaveColonies();

    // Writing 5 resets the high-water mark to what the process holds now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKilobytes("VmRSS");
    LoadColonies();
    const long peak = StatusKilobytes("VmHWM");
    const bool loaded =
        g_failure == nullptr && g_ColonyList.GetCount() == static_cast<std::uint32_t>(colonies);
    g_ColonyList.RemoveAll();
    std::filesystem::current_path(folder.parent_path());
    std::filesystem::remove_all(folder);
    if (!loaded || before < 0 || peak < 0)
    {
        std::printf("%8ld colonies, peak memory of a load: not measured\n", colonies);
        return 1;
    }
    std::printf(
        "%8ld colonies, load over a list as long: peak %.1f MB above %.1f MB held, %.0f bytes per colony\n",
        colonies, (peak - before) / 1024.0, before / 1024.0,
        static_cast<double>(peak - before) * 1024.0 / static_cast<double>(colonies));
    return 0;
}
