#include "storage/ColonyFile.h"

#include "model/ColonyList.h"
#include "storage/LargeBlocks.h"
#include "storage/RegularFile.h"
#include "storage/ReplacementFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <system_error>
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
// Records moved per write call: 112 KiB, few calls for a large file and little memory to set up
// for a small one.
constexpr std::size_t RECORDS_PER_WRITE = 512;
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

// Up to this many records are read in one call: 448 KiB, few calls for a large file, and a
// block that stays in the cache while its records are taken.
constexpr std::size_t RECORDS_PER_CHUNK = 2048;
// Names are hashed this many records before they are looked up, and their table slots fetched
// into the cache meanwhile: a large file's look-ups are otherwise mostly waits for memory.
constexpr std::size_t RECORDS_HASHED_AHEAD = 8;
// The file's length says how many colonies to make room for; something that only claims to
// be a huge file gets no more room than this up front, and grows like any other.
constexpr std::uint64_t MOST_RECORDS_RESERVED = std::uint64_t{1} << 24;
constexpr std::size_t FEWEST_TABLE_SLOTS = 64;

struct SAmounts
{
    std::uint32_t metal;
    std::uint32_t crystal;
    std::uint32_t deuterium;
};

// A record's name as it stands in the record, hashed.
struct SRecordName
{
    const char* text;
    std::size_t length;
    std::uint64_t hash;
};

// 2^64 divided by the golden ratio, and the two multipliers of a well-tried 64-bit finaliser.
constexpr std::uint64_t GOLDEN_MULTIPLIER = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t FINAL_MULTIPLIER_1 = 0xFF51AFD7ED558CCDull;
constexpr std::uint64_t FINAL_MULTIPLIER_2 = 0xC4CEB9FE1A85EC53ull;

std::uint64_t MixWord(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * GOLDEN_MULTIPLIER;
    return hash ^ (hash >> 29);
}

std::uint64_t HashName(const char* name, std::size_t length)
{
    std::uint64_t hash = MixWord(0, length);
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= length; at += sizeof(std::uint64_t))
    {
        std::uint64_t word = 0;
        std::memcpy(&word, name + at, sizeof word);
        hash = MixWord(hash, word);
    }
    if (at < length)
    {
        std::uint64_t word = 0;
        std::memcpy(&word, name + at, length - at);
        hash = MixWord(hash, word);
    }
    // Both halves are used, the low bits for the slot and the high ones as its tag.
    hash ^= hash >> 33;
    hash *= FINAL_MULTIPLIER_1;
    hash ^= hash >> 33;
    hash *= FINAL_MULTIPLIER_2;
    return hash ^ (hash >> 33);
}

SRecordName NameOf(const SColony& record)
{
    const void* end = std::memchr(record.name, 0, NAME_SIZE);
    const std::size_t length =
        end == nullptr ? NAME_SIZE : static_cast<std::size_t>(static_cast<const char*>(end) - record.name);
    return {record.name, length, HashName(record.name, length)};
}

// The colonies read so far, before any of them reaches the list: their names one after the
// other in one buffer, and a table of the names taken whose 8-byte slots hold a tag of the
// name's hash and the colony's index. Loading over a large list thus needs little memory
// beside it, and a look-up touches one slot and, nearly always, no name but its own.
class CLoadedColonies
{
public:
    CLoadedColonies() : m_nameStarts{0} {}

    void Reserve(std::size_t colonies, std::size_t nameBytes)
    {
        m_nameStarts.reserve(colonies + 1);
        m_amounts.reserve(colonies);
        m_names.reserve(nameBytes);
        if (m_slots.size() < 2 * colonies)
        {
            Rehash(2 * colonies);
        }
    }

    std::size_t Count() const { return m_amounts.size(); }
    std::size_t NameBytes() const { return m_names.size(); }

    void Prefetch(const SRecordName& name) const
    {
        if (!m_slots.empty())
        {
            __builtin_prefetch(&m_slots[name.hash & (m_slots.size() - 1)]);
        }
    }

    // Keeps the record unless an earlier one has the same name.
    void Take(const SRecordName& name, const SColony& record)
    {
        if (2 * (Count() + 1) > m_slots.size())
        {
            Rehash(2 * (Count() + 1));
        }
        const std::size_t mask = m_slots.size() - 1;
        const std::uint64_t tag = name.hash >> 32;
        for (std::size_t i = name.hash & mask;; i = (i + 1) & mask)
        {
            const std::uint64_t slot = m_slots[i];
            if (slot == 0)
            {
                m_slots[i] = (tag << 32) | (Count() + 1);
                break;
            }
            if ((slot >> 32) == tag && NameEquals(static_cast<std::size_t>(slot & INDEX_MASK) - 1, name))
            {
                return;
            }
        }
        m_names.insert(m_names.end(), name.text, name.text + name.length);
        m_nameStarts.push_back(m_names.size());
        m_amounts.push_back({record.GetMetal(), record.GetCrystal(), record.GetDeuterium()});
    }

    // The table is only needed while reading; the list is built without it.
    void ForgetTable() { CTable().swap(m_slots); }

    void AppendTo(CList& list) const
    {
        for (std::size_t i = 0; i < Count(); ++i)
        {
            const SAmounts& amounts = m_amounts[i];
            list.AddColony(
                std::string(m_names.data() + m_nameStarts[i], m_nameStarts[i + 1] - m_nameStarts[i]),
                amounts.metal, amounts.crystal, amounts.deuterium);
        }
    }

private:
    using CTable = std::vector<std::uint64_t, CLargeBlockAllocator<std::uint64_t>>;

    static constexpr std::uint64_t INDEX_MASK = 0xFFFFFFFFull;

    bool NameEquals(std::size_t index, const SRecordName& name) const
    {
        const std::size_t start = m_nameStarts[index];
        // Empty names have no bytes to compare, and the names buffer may have none at all yet.
        return m_nameStarts[index + 1] - start == name.length &&
               (name.length == 0 || std::memcmp(m_names.data() + start, name.text, name.length) == 0);
    }

    void Rehash(std::size_t leastSlots)
    {
        std::size_t size = FEWEST_TABLE_SLOTS;
        while (size < leastSlots)
        {
            size *= 2;
        }
        m_slots.assign(size, 0);
        const std::size_t mask = size - 1;
        for (std::size_t index = 0; index < Count(); ++index)
        {
            const char* text = m_names.data() + m_nameStarts[index];
            const std::uint64_t hash = HashName(text, m_nameStarts[index + 1] - m_nameStarts[index]);
            std::size_t i = hash & mask;
            while (m_slots[i] != 0)
            {
                i = (i + 1) & mask;
            }
            m_slots[i] = ((hash >> 32) << 32) | (index + 1);
        }
    }

    std::vector<char> m_names;
    std::vector<std::size_t> m_nameStarts; // one more than there are colonies
    std::vector<SAmounts> m_amounts;
    CTable m_slots; // 0 for a free slot
};

// Room for the colonies of a file of this many bytes, the names as long as those read so far.
void ReserveForFile(CLoadedColonies& colonies, std::size_t recordsRead)
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(DATA_FILE_NAME, error);
    if (error || recordsRead == 0)
    {
        return;
    }
    std::uint64_t records = bytes / sizeof(SColony);
    if (records > MOST_RECORDS_RESERVED)
    {
        records = MOST_RECORDS_RESERVED;
    }
    const std::size_t bytesPerName = colonies.NameBytes() / recordsRead + 1;
    colonies.Reserve(static_cast<std::size_t>(records), static_cast<std::size_t>(records) * bytesPerName);
}

// Takes the records of one read in order, each name hashed a few records ahead.
void TakeRecords(CLoadedColonies& colonies, const SColony* records, std::size_t count)
{
    SRecordName ahead[RECORDS_HASHED_AHEAD];
    auto hashAhead = [&](std::size_t i)
    {
        ahead[i % RECORDS_HASHED_AHEAD] = NameOf(records[i]);
        colonies.Prefetch(ahead[i % RECORDS_HASHED_AHEAD]);
    };
    for (std::size_t i = 0; i < count && i < RECORDS_HASHED_AHEAD; ++i)
    {
        hashAhead(i);
    }
    for (std::size_t i = 0; i < count; ++i)
    {
        const SRecordName name = ahead[i % RECORDS_HASHED_AHEAD];
        if (i + RECORDS_HASHED_AHEAD < count)
        {
            hashAhead(i + RECORDS_HASHED_AHEAD);
        }
        colonies.Take(name, records[i]);
    }
}

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

bool IsEmptyListMarker(const SColony& record)
{
    const SRecordName name = NameOf(record);
    return name.length == sizeof EMPTY_LIST_MARKER - 1 &&
           std::memcmp(name.text, EMPTY_LIST_MARKER, name.length) == 0;
}

// Reads the whole file before anything is changed, so that a read that fails half-way
// leaves the list as it was. Later records with a name already taken are skipped here, with
// a table of the names taken, so that loading stays linear in the size of the file.
ERead ReadColonies(CLoadedColonies& colonies)
{
    std::unique_ptr<std::FILE, SFileCloser> file(OpenRegularFileForReading(DATA_FILE_NAME));
    if (!file)
    {
        return ERead::Failed;
    }
    std::vector<SColony> chunk(RECORDS_PER_CHUNK);
    bool first = true;
    for (;;)
    {
        const std::size_t bytes = std::fread(chunk.data(), 1, chunk.size() * sizeof(SColony), file.get());
        const std::size_t records = bytes / sizeof(SColony);
        if (first && records > 0)
        {
            if (IsEmptyListMarker(chunk[0]))
            {
                return ERead::KeepList;
            }
            TakeRecords(colonies, chunk.data(), records);
            ReserveForFile(colonies, records);
            first = false;
        }
        else
        {
            TakeRecords(colonies, chunk.data(), records);
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
    return colonies.Count() == 0 ? ERead::KeepList : ERead::Colonies;
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
    chunk.reserve(RECORDS_PER_WRITE);
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
        if (chunk.size() == RECORDS_PER_WRITE && !writeChunk())
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
    CLoadedColonies colonies;
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
    colonies.ForgetTable();
    CList loaded;
    colonies.AppendTo(loaded);
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
