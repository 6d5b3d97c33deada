// Saving and loading coldata.dat with 100,000 and 1,000,000 colonies. The file is written
// and read in a fresh folder under the current one (or under ZERAK_BENCH_DIR), so that the
// figures are those of a real disk, flush included.
#include "LoadFloor.h"
#include "model/ColonyList.h"
#include "storage/ColonyFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

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
void BM_LoadColonies(benchmark::State& state)
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
void BM_LoadFloor(benchmark::State& state)
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

BENCHMARK(BM_SaveColonies)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadColonies)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadFloor)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
