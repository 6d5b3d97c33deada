#include "storage/ColonyFile.h"

#include "model/ColonyList.h"
#include "storage/RegularFile.h"
#include "storage/ReplacementFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8,
              "amounts are stored as IEEE 754 binary64");
static_assert(std::is_standard_layout<SColony>::value, "SColony is written and read as raw bytes");
static_assert(sizeof(SColony) == 224, "a record of coldata.dat is 224 bytes");
static_assert(offsetof(SColony, name) == 0 && offsetof(SColony, metal) == 200 &&
                  offsetof(SColony, crystal) == 208 && offsetof(SColony, deuterium) == 216,
              "the fields of a record stand without padding");

namespace
{

const char DATA_FILE_NAME[] = "coldata.dat";
// Stands alone in the file of an empty list.
const char EMPTY_LIST_MARKER[] = "KolvarnScreewsThisFile";
constexpr std::size_t NAME_SIZE = sizeof(SColony::name);
// Records moved per read or write call: 112 KiB, few calls for a large file and little memory
// to set up for a small one.
constexpr std::size_t RECORDS_PER_CHUNK = 512;
// What the player is told when the memory runs out; nothing has been changed by then.
const char LOAD_OUT_OF_MEMORY_TEXT[] =
    "Not enough memory to load coldata.dat. Your colonies have been left as they were.";
const char SAVE_OUT_OF_MEMORY_TEXT[] =
    "Not enough memory to save coldata.dat. The file has been left as it was.";

void PutAmount(unsigned char (&field)[8], std::uint32_t amount)
{
    const double value = amount;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (std::size_t i = 0; i < sizeof field; ++i)
    {
        field[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
}

std::uint32_t GetAmount(const unsigned char (&field)[8])
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof field; ++i)
    {
        bits |= static_cast<std::uint64_t>(field[i]) << (8 * i);
    }
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    // A damaged or foreign file may hold anything: NaN, infinities and numbers no signed
    // 64-bit integer can hold have no truncated value and read as 0.
    constexpr double INT64_BOUND = 9223372036854775808.0; // 2^63
    if (!(value >= -INT64_BOUND && value < INT64_BOUND))
    {
        return 0;
    }
    const auto whole = static_cast<std::int64_t>(value);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole));
}

struct SLoadedColony
{
    std::string name;
    std::uint32_t metal;
    std::uint32_t crystal;
    std::uint32_t deuterium;
};

// The names taken so far, as indices into the colonies read: one open-addressing table
// rather than a node per name, so that a million names cost a few allocations.
class CTakenNames
{
public:
    explicit CTakenNames(const std::vector<SLoadedColony>& colonies) : m_colonies(colonies), m_count(0) {}

    // Takes the name for colonies[index] and says so, or says that an earlier colony has it.
    bool Take(const std::string& name, std::size_t index)
    {
        if ((m_count + 1) * 2 > m_slots.size())
        {
            Grow();
        }
        const std::size_t hash = std::hash<std::string_view>()(name);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask)
        {
            SSlot& slot = m_slots[i];
            if (slot.indexPlusOne == 0)
            {
                slot = {hash, index + 1};
                ++m_count;
                return true;
            }
            if (slot.hash == hash && m_colonies[slot.indexPlusOne - 1].name == name)
            {
                return false;
            }
        }
    }

private:
    struct SSlot
    {
        std::size_t hash;
        std::size_t indexPlusOne; // 0 for a free slot
    };

    void Grow()
    {
        std::vector<SSlot> old(m_slots.empty() ? 64 : m_slots.size() * 2, SSlot{0, 0});
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const SSlot& slot : old)
        {
            if (slot.indexPlusOne != 0)
            {
                std::size_t i = slot.hash & mask;
                while (m_slots[i].indexPlusOne != 0)
                {
                    i = (i + 1) & mask;
                }
                m_slots[i] = slot;
            }
        }
    }

    const std::vector<SLoadedColony>& m_colonies;
    std::vector<SSlot> m_slots;
    std::size_t m_count;
};

struct SFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

enum class ERead
{
    Colonies, // the file holds colonies that replace the list
    KeepList, // the marker, or not even one whole record
    Failed,   // the file could not be opened or read to its end
};

// Reads the whole file before anything is changed, so that a read that fails half-way
// leaves the list as it was. Later records with a name already taken are skipped here, with
// a set of the names taken, so that loading stays linear in the size of the file.
ERead ReadColonies(std::vector<SLoadedColony>& colonies)
{
    std::unique_ptr<std::FILE, SFileCloser> file(OpenRegularFileForReading(DATA_FILE_NAME));
    if (!file)
    {
        return ERead::Failed;
    }
    std::vector<SColony> chunk(RECORDS_PER_CHUNK);
    CTakenNames taken(colonies);
    bool first = true;
    for (;;)
    {
        const std::size_t bytes = std::fread(chunk.data(), 1, chunk.size() * sizeof(SColony), file.get());
        const std::size_t records = bytes / sizeof(SColony);
        for (std::size_t i = 0; i < records; ++i)
        {
            const SColony& record = chunk[i];
            std::string name = record.GetName();
            if (first && name == EMPTY_LIST_MARKER)
            {
                return ERead::KeepList;
            }
            first = false;
            if (taken.Take(name, colonies.size()))
            {
                colonies.push_back(
                    {std::move(name), record.GetMetal(), record.GetCrystal(), record.GetDeuterium()});
            }
        }
        if (bytes < chunk.size() * sizeof(SColony))
        {
            // Anything short of a whole record at the end is ignored; a short read that is
            // not the end of the file is a failure.
            if (std::ferror(file.get()) != 0)
            {
                return ERead::Failed;
            }
            break;
        }
    }
    return colonies.empty() ? ERead::KeepList : ERead::Colonies;
}

} // namespace

SColony::SColony() : name{}, metal{}, crystal{}, deuterium{} {}

SColony::SColony(std::string colonyName, std::uint32_t metalAmount, std::uint32_t crystalAmount,
                 std::uint32_t deuteriumAmount)
    : SColony()
{
    SetName(std::move(colonyName));
    PutAmount(metal, metalAmount);
    PutAmount(crystal, crystalAmount);
    PutAmount(deuterium, deuteriumAmount);
}

void SColony::SetName(std::string colonyName)
{
    std::memset(name, 0, NAME_SIZE);
    std::memcpy(name, colonyName.data(), colonyName.size() < NAME_SIZE ? colonyName.size() : NAME_SIZE);
}

std::string SColony::GetName() const
{
    const void* end = std::memchr(name, 0, NAME_SIZE);
    const std::size_t length =
        end == nullptr ? NAME_SIZE : static_cast<std::size_t>(static_cast<const char*>(end) - name);
    return std::string(name, length);
}

std::uint32_t SColony::GetMetal() const
{
    return GetAmount(metal);
}

std::uint32_t SColony::GetCrystal() const
{
    return GetAmount(crystal);
}

std::uint32_t SColony::GetDeuterium() const
{
    return GetAmount(deuterium);
}

namespace
{

void WriteColonies()
{
    CReplacementFile file(DATA_FILE_NAME);
    if (!file.Create())
    {
        ReportFileError("Failed to create file.");
        return;
    }

    std::vector<SColony> chunk;
    chunk.reserve(RECORDS_PER_CHUNK);
    auto writeChunk = [&file, &chunk]()
    {
        const bool written = file.Write(chunk.data(), chunk.size() * sizeof(SColony));
        chunk.clear();
        return written;
    };

    if (g_ColonyList.IsEmpty())
    {
        chunk.emplace_back(EMPTY_LIST_MARKER, 0, 0, 0);
    }
    for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        chunk.emplace_back(node->GetName(), node->GetMetal(), node->GetCrystal(), node->GetDeuterium());
        if (chunk.size() == RECORDS_PER_CHUNK && !writeChunk())
        {
            ReportFileError("Failed to write file.");
            return;
        }
    }
    if (!chunk.empty() && !writeChunk())
    {
        ReportFileError("Failed to write file.");
        return;
    }

    switch (file.Commit())
    {
        case CReplacementFile::EResult::Done:
            break;
        case CReplacementFile::EResult::CannotCreate:
            ReportFileError("Failed to create file.");
            break;
        case CReplacementFile::EResult::CannotWrite:
            ReportFileError("Failed to write file.");
            break;
    }
}

// The new list is built aside and takes the old one's place only when it is complete, so
// that running out of memory half-way leaves the list exactly as it was.
void ReadIntoList()
{
    std::vector<SLoadedColony> colonies;
    switch (ReadColonies(colonies))
    {
        case ERead::Failed:
            ReportFileError("Failed accessing file.");
            return;
        case ERead::KeepList:
            return;
        case ERead::Colonies:
            break;
    }
    CList loaded;
    for (SLoadedColony& colony : colonies)
    {
        loaded.AddColony(std::move(colony.name), colony.metal, colony.crystal, colony.deuterium);
    }
    g_ColonyList.Swap(loaded);
}

} // namespace

// Memory running out is the one failure that reaches here as an exception: the temporary
// file or the list built aside is given up on the way out, and the player is told.
void SaveColonies()
{
    try
    {
        WriteColonies();
    }
    catch (const std::bad_alloc&)
    {
        ReportFileError(SAVE_OUT_OF_MEMORY_TEXT);
    }
}

void LoadColonies()
{
    try
    {
        ReadIntoList();
    }
    catch (const std::bad_alloc&)
    {
        ReportFileError(LOAD_OUT_OF_MEMORY_TEXT);
    }
}
