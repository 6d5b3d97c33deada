// Feeds arbitrary bytes to the loader as coldata.dat. Besides crashes and undefined
// behaviour it checks what the user would see: the list holds the file's distinct names in
// file order with the amounts of their first record, or is untouched when the file brings no
// colony, and what is saved from it loads back the same.
#include "model/ColonyList.h"
#include "storage/ColonyFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace
{

using Colony = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t>;

std::vector<std::string> g_reports;
const Colony SENTINEL{"\x01sentinel", 1, 2, 3};

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// Written apart from the loader's own conversion, from the rule itself: truncate toward zero
// to a signed 64-bit integer and keep the low 32 bits; what has no such integer reads as 0.
std::uint32_t ReferenceAmount(const std::uint8_t* field)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
    {
        bits = (bits << 8) | field[i];
    }
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    const double bound = std::ldexp(1.0, 63);
    if (std::isnan(value) || value < -bound || value >= bound)
    {
        return 0;
    }
    const double whole = std::trunc(value);
    const std::uint64_t magnitude = static_cast<std::uint64_t>(std::fabs(whole));
    return static_cast<std::uint32_t>(whole < 0 ? 0 - magnitude : magnitude);
}

std::vector<Colony> Expected(const std::uint8_t* data, std::size_t size)
{
    std::vector<Colony> colonies;
    for (std::size_t offset = 0; offset + 224 <= size; offset += 224)
    {
        const std::uint8_t* record = data + offset;
        std::size_t length = 0;
        while (length < 200 && record[length] != 0)
        {
            ++length;
        }
        const std::string name(reinterpret_cast<const char*>(record), length);
        if (offset == 0 && name == "KolvarnScreewsThisFile")
        {
            return {SENTINEL};
        }
        bool taken = false;
        for (const Colony& colony : colonies)
        {
            taken = taken || std::get<0>(colony) == name;
        }
        if (!taken)
        {
            colonies.emplace_back(name, ReferenceAmount(record + 200), ReferenceAmount(record + 208),
                                  ReferenceAmount(record + 216));
        }
    }
    return colonies.empty() ? std::vector<Colony>{SENTINEL} : colonies;
}

std::vector<Colony> Listed()
{
    std::vector<Colony> colonies;
    for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        colonies.emplace_back(node->GetName(), node->GetMetal(), node->GetCrystal(), node->GetDeuterium());
    }
    return colonies;
}

void ResetToSentinel()
{
    g_ColonyList.RemoveAll();
    g_ColonyList.AddColony(std::get<0>(SENTINEL), std::get<1>(SENTINEL), std::get<2>(SENTINEL),
                           std::get<3>(SENTINEL));
}

long FileSize(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    Check(file != nullptr, "coldata.dat can be opened");
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

} // namespace

void ReportFileError(const char* text)
{
    g_reports.push_back(text);
}

namespace
{

// libFuzzer reads and writes its corpus and artifacts by names relative to the folder it
// was started in, so each input runs in the working folder and then goes back.
class CInWorkingFolder
{
public:
    CInWorkingFolder() : m_previous(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        Check(m_previous >= 0 && fchdir(WorkingFolder()) == 0, "the working folder can be entered");
    }
    ~CInWorkingFolder()
    {
        Check(fchdir(m_previous) == 0, "the starting folder can be entered again");
        close(m_previous);
    }
    CInWorkingFolder(const CInWorkingFolder&) = delete;
    CInWorkingFolder& operator=(const CInWorkingFolder&) = delete;

private:
    // A folder of its own, in memory where there is one: every input is a file write.
    static int WorkingFolder()
    {
        static const int s_folder = []
        {
            const char* tmp = std::getenv("TMPDIR");
            const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                     : tmp != nullptr              ? tmp
                                                                   : "/tmp";
            std::string folder = base + "/zerak-fuzz-XXXXXX";
            Check(mkdtemp(&folder[0]) != nullptr, "a working folder can be made");
            std::fprintf(stderr, "working in %s\n", folder.c_str());
            return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        }();
        return s_folder;
    }

    int m_previous;
};

} // namespace

// The loader reads 512 records at a time. Besides libFuzzer's own mutations, some inputs are
// grown by whole records copied from the input (with one name byte changed, so that not every
// copy is a repeat) until they cross one or two of those boundaries; the seeds stay small.
namespace
{

constexpr std::size_t RECORD_BYTES = 224;
constexpr std::size_t RECORDS_PER_CHUNK = 512;
constexpr unsigned GROW_ONE_IN = 8;

} // namespace

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed)
{
    if (seed % GROW_ONE_IN != 0 || size < RECORD_BYTES)
    {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    const std::size_t records = size / RECORD_BYTES;
    const std::size_t wanted = RECORDS_PER_CHUNK * (1 + seed / GROW_ONE_IN % 2) + seed % 3;
    std::size_t grown = records * RECORD_BYTES;
    for (std::size_t next = records; next < wanted && grown + RECORD_BYTES <= maxSize; ++next)
    {
        const std::size_t from = (seed + next * 7919u) % records;
        std::memmove(data + grown, data + from * RECORD_BYTES, RECORD_BYTES);
        data[grown + next % 200] ^= static_cast<std::uint8_t>(1 + next % 255);
        grown += RECORD_BYTES;
    }
    return grown;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CInWorkingFolder here;
    std::FILE* file = std::fopen("coldata.dat", "wb");
    Check(file != nullptr, "the input can be written");
    Check(std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0, "the input is written whole");

    ResetToSentinel();
    g_reports.clear();
    LoadColonies();
    Check(g_reports.empty(), "a readable file is loaded without a message");
    const std::vector<Colony> expected = Expected(data, size);
    Check(Listed() == expected, "the list holds the file's distinct names with their first amounts");
    Check(g_ColonyList.GetCount() == expected.size(), "the count matches the list");
    Check(g_ColonyList.GetCurrent() == g_ColonyList.GetHead(), "the cursor stands on the first colony");

    if (expected.front() == SENTINEL)
    {
        return 0;
    }
    SaveColonies();
    Check(g_reports.empty(), "saving succeeds");
    Check(FileSize("coldata.dat") == static_cast<long>(224 * expected.size()), "one record per colony");
    ResetToSentinel();
    LoadColonies();
    Check(g_reports.empty() && Listed() == expected, "what was saved loads back the same");
    return 0;
}
