// Saving and loading coldata.dat with 100,000 and 1,000,000 colonies. The file is written
// and read in a fresh folder under the current one (or under ZERAK_BENCH_DIR), so that the
// figures are those of a real disk, flush included.
//
// Loads are measured twice: with the caches as the previous load of the same file left them,
// and with the caches swept before each load. A player loads a file once, after other work;
// loaded again and again, a small file and its list stay in the processor's cache while a
// large one never fits, so the ratio of the two sizes would then measure the cache as much
// as the loader.
#include "LoadFloor.h"
#include "model/ColonyList.h"
#include "storage/ColonyFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

const char* g_failure = nullptr;

class CBenchFolder
{
public:
    CBenchFolder() : m_previous(std::filesystem::current_path())
    {
        const char* base = std::getenv("ZERAK_BENCH_DIR");
        m_folder = std::filesystem::absolute(base != nullptr ? base : ".") /
                   ("zerak-bench-" + std::to_string(std::rand()));
        std::filesystem::create_directories(m_folder);
        std::filesystem::current_path(m_folder);
    }
    ~CBenchFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    CBenchFolder(const CBenchFolder&) = delete;
    CBenchFolder& operator=(const CBenchFolder&) = delete;

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
};

void FillList(std::int64_t count)
{
    g_ColonyList.RemoveAll();
    for (std::int64_t i = 0; i < count; ++i)
    {
        const auto n = static_cast<std::uint32_t>(i);
        g_ColonyList.AddColony("Colony " + std::to_string(i), n, n * 3u, n * 7u);
    }
}

enum class ECaches
{
    AsLeft, // as the previous load left them
    Swept,  // emptied of the file and the list before each load
};

// Reading a buffer twice as large as the largest cache the system reports (at least 256 MiB)
// leaves nothing of the last load in any cache.
class CCacheSweep
{
public:
    CCacheSweep() : m_buffer(SweepBytes(), 1) {}

    void Sweep()
    {
        unsigned sum = 0;
        for (std::size_t at = 0; at < m_buffer.size(); at += CACHE_LINE_BYTES)
        {
            sum += m_buffer[at];
        }
        benchmark::DoNotOptimize(sum);
    }

private:
    static constexpr std::size_t CACHE_LINE_BYTES = 64;
    static constexpr std::size_t FEWEST_SWEEP_BYTES = std::size_t{256} << 20;

    static std::size_t SweepBytes()
    {
        const long reported = sysconf(_SC_LEVEL3_CACHE_SIZE);
        const std::size_t twice = reported > 0 ? 2 * static_cast<std::size_t>(reported) : 0;
        return twice > FEWEST_SWEEP_BYTES ? twice : FEWEST_SWEEP_BYTES;
    }

    std::vector<unsigned char> m_buffer;
};

// Sweeps the caches, untimed, when the benchmark asks for swept caches.
void PrepareCaches(benchmark::State& state, ECaches caches)
{
    if (caches == ECaches::Swept)
    {
        static CCacheSweep sweep;
        state.PauseTiming();
        sweep.Sweep();
        state.ResumeTiming();
    }
}

bool Failed(benchmark::State& state)
{
    if (g_failure != nullptr)
    {
        state.SkipWithError(g_failure);
        return true;
    }
    return false;
}

void BM_SaveColonies(benchmark::State& state)
{
    const CBenchFolder folder;
    FillList(state.range(0));
    g_failure = nullptr;
    for (auto _ : state)
    {
        SaveColonies();
        if (Failed(state))
        {
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 224);
    g_ColonyList.RemoveAll();
}

// Each load replaces a list as long as the one it brings, as loading the same file twice does.
void BM_LoadColonies(benchmark::State& state, ECaches caches)
{
    const CBenchFolder folder;
    FillList(state.range(0));
    g_failure = nullptr;
    SaveColonies();
    if (Failed(state))
    {
        return;
    }
    for (auto _ : state)
    {
        PrepareCaches(state, caches);
        LoadColonies();
        if (Failed(state))
        {
            break;
        }
    }
    if (g_ColonyList.GetCount() != static_cast<std::uint32_t>(state.range(0)))
    {
        state.SkipWithError("the load did not bring every colony");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 224);
    g_ColonyList.RemoveAll();
}

// The floor of the load above, on the same file and over the same number of colonies.
void BM_LoadFloor(benchmark::State& state, ECaches caches)
{
    const CBenchFolder folder;
    FillList(state.range(0));
    g_failure = nullptr;
    SaveColonies();
    g_ColonyList.RemoveAll();
    if (Failed(state))
    {
        return;
    }
    CLoadFloor floor;
    std::size_t loaded = floor.Load("coldata.dat");
    for (auto _ : state)
    {
        PrepareCaches(state, caches);
        loaded = floor.Load("coldata.dat");
    }
    if (loaded != static_cast<std::size_t>(state.range(0)))
    {
        state.SkipWithError("the floor did not bring every colony");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 224);
}

} // namespace

void ReportFileError(const char* text)
{
    g_failure = text;
}

namespace
{

// Every benchmark here runs over the same two list lengths, in milliseconds of real time.
void OverLargeLists(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_SaveColonies)->Apply(OverLargeLists);
BENCHMARK_CAPTURE(BM_LoadColonies, caches_as_left, ECaches::AsLeft)->Apply(OverLargeLists);
BENCHMARK_CAPTURE(BM_LoadFloor, caches_as_left, ECaches::AsLeft)->Apply(OverLargeLists);
BENCHMARK_CAPTURE(BM_LoadColonies, caches_swept, ECaches::Swept)->Apply(OverLargeLists);
BENCHMARK_CAPTURE(BM_LoadFloor, caches_swept, ECaches::Swept)->Apply(OverLargeLists);

BENCHMARK_MAIN();
