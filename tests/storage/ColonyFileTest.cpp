#include "storage/ColonyFile.h"
#include "model/ColonyList.h"
#include "storage/AllocationLimit.h"
#include "storage/DataFolder.h"
#include "storage/ReplacementFile.h"
#include "storage/ShownErrors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#endif

namespace
{

const char DATA_FILE[] = "coldata.dat";
const std::string EMPTY_LIST_MARKER = "KolvarnScreewsThisFile";
const std::vector<std::string> NO_ERRORS;
const std::vector<std::string> CANNOT_CREATE{"Failed to create file."};
const std::vector<std::string> CANNOT_ACCESS{"Failed accessing file."};
const std::vector<std::string> NO_MEMORY_TO_LOAD{
    "Not enough memory to load coldata.dat. Your colonies have been left as they were."};
const std::vector<std::string> NO_MEMORY_TO_SAVE{
    "Not enough memory to save coldata.dat. The file has been left as it was."};

const std::vector<Colony> EARLIER{{"Earlier", 5, 6, 7}, {"Second", 8, 9, 10}};

Bytes BytesOf(const SColony& record)
{
    const auto* first = reinterpret_cast<const unsigned char*>(&record);
    return Bytes(first, first + sizeof record);
}

std::vector<std::string> Save()
{
    return RunShowingErrors(SaveColonies);
}

std::vector<std::string> Load()
{
    return RunShowingErrors(LoadColonies);
}

void ExpectCursorOnHead()
{
    EXPECT_EQ(g_ColonyList.GetCurrent(), g_ColonyList.GetHead());
}

bool IsTemporaryName(const std::string& name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0;
}

std::size_t TemporaryFileCount(const std::string& folder = ".")
{
    std::size_t count = 0;
    for (const std::string& name : FolderEntries(folder))
    {
        count += IsTemporaryName(name) ? 1 : 0;
    }
    return count;
}

// A file held as a running save holds its temporary file: natively locked, under Windows
// open for reading (which keeps another save from opening it to remove it).
class CHeldLikeASave
{
public:
    explicit CHeldLikeASave(const std::string& path)
    {
#ifdef _WIN32
        m_file =
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        m_held = m_file != INVALID_HANDLE_VALUE;
#else
        m_file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        m_held = m_file >= 0 && flock(m_file, LOCK_EX | LOCK_NB) == 0;
#endif
    }
    ~CHeldLikeASave()
    {
#ifdef _WIN32
        if (m_file != INVALID_HANDLE_VALUE)
        {
            CloseHandle(m_file);
        }
#else
        if (m_file >= 0)
        {
            close(m_file);
        }
#endif
    }
    CHeldLikeASave(const CHeldLikeASave&) = delete;
    CHeldLikeASave& operator=(const CHeldLikeASave&) = delete;
    bool IsHeld() const
    {
        return m_held;
    }

private:
#ifdef _WIN32
    HANDLE m_file;
#else
    int m_file;
#endif
    bool m_held;
};

} // namespace

// ---- The record ----

TEST(ColonyRecord, HoldsExactlyTheBytesOfTheFile)
{
    EXPECT_EQ(BytesOf(SColony("Alpha", 1, 4294967295u, 0)), Record("Alpha", 1, 4294967295.0, 0));
    // The same bytes spelled out, so that the expected record cannot share a mistake with it.
    const Bytes record = BytesOf(SColony("", 1, 4294967295u, 0));
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 200), Bytes(200, 0));
    EXPECT_EQ(Bytes(record.begin() + 200, record.end()),
              (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, 0x00, 0x00, 0xE0, 0xFF,
                     0xFF, 0xFF, 0xEF, 0x41, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST(ColonyRecord, NameFieldKeepsAtMost200BytesAndReadsUpToTheFirstZero)
{
    struct Case
    {
        std::string name;
        std::string readBack;
    };
    const std::string longName(250, 'x');
    const std::vector<Case> cases{
        {"", ""},
        {"A", "A"},
        {std::string(199, 'n'), std::string(199, 'n')},
        {std::string(200, 'n'), std::string(200, 'n')},
        {longName, longName.substr(0, 200)},
        {"Caf\xe9 \xff\x80", "Caf\xe9 \xff\x80"},
        {std::string("ab\0cd", 5), "ab"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("name of " + std::to_string(c.name.size()) + " bytes");
        SColony record(c.name, 0, 0, 0);
        EXPECT_EQ(record.GetName(), c.readBack);
        Bytes field(c.name.begin(),
                    c.name.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(c.name.size(), 200)));
        field.resize(200, 0);
        const Bytes bytes = BytesOf(record);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 200), field);

        record.SetName("z");
        EXPECT_EQ(record.GetName(), "z") << "SetName must clear what stood there before";
    }
}

TEST(ColonyRecord, StoredNumbersReadAsTheirTruncatedLow32Bits)
{
    struct Case
    {
        const char* what;
        std::uint64_t bits;
        std::uint32_t amount;
    };
    auto bits = [](double value)
    {
        std::uint64_t out = 0;
        std::memcpy(&out, &value, sizeof out);
        return out;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases{
        {"zero", bits(0.0), 0},
        {"negative zero", bits(-0.0), 0},
        {"one", bits(1.0), 1},
        {"largest amount", bits(4294967295.0), 4294967295u},
        {"3.9 truncates", bits(3.9), 3},
        {"-0.5 truncates to 0", bits(-0.5), 0},
        {"-1 wraps", bits(-1.0), 4294967295u},
        {"-3.9 truncates to -3", bits(-3.9), 4294967293u},
        {"2^32 wraps to 0", bits(4294967296.0), 0},
        {"2^32 + 5", bits(4294967301.0), 5},
        {"largest below 2^63", bits(9223372036854774784.0), 4294966272u},
        {"-2^63", bits(-9223372036854775808.0), 0},
        {"smallest subnormal", 1, 0},
        {"2^63 is out of range", bits(9223372036854775808.0), 0},
        {"1e300", bits(1e300), 0},
        {"-1e300", bits(-1e300), 0},
        {"infinity", bits(inf), 0},
        {"minus infinity", bits(-inf), 0},
        {"quiet NaN", 0x7FF8000000000000ull, 0},
        {"negative NaN with payload", 0xFFF0000000000001ull, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        SColony record;
        const Bytes bytes = RecordWithBits("n", c.bits, c.bits, c.bits);
        std::memcpy(&record, bytes.data(), sizeof record);
        EXPECT_EQ(record.GetMetal(), c.amount);
        EXPECT_EQ(record.GetCrystal(), c.amount);
        EXPECT_EQ(record.GetDeuterium(), c.amount);
    }
}

TEST(ColonyRecord, EveryAmountWrittenReadsBackUnchanged)
{
    // Every power of two and its neighbours, and a spread of other values.
    std::vector<std::uint32_t> amounts{0, 4294967295u};
    for (int shift = 0; shift < 32; ++shift)
    {
        const std::uint32_t power = std::uint32_t{1} << shift;
        amounts.insert(amounts.end(), {power - 1, power, power + 1});
    }
    for (std::uint32_t value = 12345; amounts.size() < 200000; value = value * 1664525u + 1013904223u)
    {
        amounts.push_back(value);
    }
    std::size_t wrong = 0;
    for (std::uint32_t amount : amounts)
    {
        const SColony record("n", amount, amount ^ 0xFFFFFFFFu, amount);
        if (record.GetMetal() != amount || record.GetCrystal() != (amount ^ 0xFFFFFFFFu) ||
            record.GetDeuterium() != amount)
        {
            ADD_FAILURE() << "amount " << amount << " changed";
            if (++wrong == 5)
            {
                break;
            }
        }
    }
}

// ---- Saving ----

using SaveColoniesTest = DataFolderTest;

TEST_F(SaveColoniesTest, AnEmptyListIsSavedAsTheMarkerAlone)
{
    EXPECT_EQ(Save(), NO_ERRORS);
    EXPECT_EQ(ReadBytes(DATA_FILE), Record(EMPTY_LIST_MARKER, 0, 0, 0));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
}

TEST_F(SaveColoniesTest, ColoniesAreSavedInListOrderOneRecordEach)
{
    FillList({{"Alpha", 1500, 800, 300}, {"Beta", 0, 4294967295u, 1}, {std::string(250, 'L'), 7, 8, 9}});
    // The previous content is longer: nothing of it may stay behind the new records.
    ASSERT_TRUE(WriteBytes(DATA_FILE, Bytes(5000, 0xAB)));
    EXPECT_EQ(Save(), NO_ERRORS);
    EXPECT_EQ(ReadBytes(DATA_FILE),
              Concat({Record("Alpha", 1500, 800, 300), Record("Beta", 0, 4294967295.0, 1),
                      Record(std::string(200, 'L'), 7, 8, 9)}));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
    EXPECT_EQ(ListedColonies().size(), 3u);
}

TEST_F(SaveColoniesTest, AFileThatCannotBeReplacedStaysAsItWas)
{
    struct Case
    {
        const char* what;
        bool directory;
    };
    for (const Case& c : {Case{"read-only coldata.dat", false}, Case{"a folder named coldata.dat", true}})
    {
        SCOPED_TRACE(c.what);
        FillList(EARLIER);
        const Bytes earlier = Record("Old", 1, 2, 3);
        if (c.directory)
        {
            ASSERT_TRUE(std::filesystem::create_directory(DATA_FILE));
            ASSERT_TRUE(WriteBytes(std::string(DATA_FILE) + "/inside", earlier));
        }
        else
        {
            ASSERT_TRUE(WriteBytes(DATA_FILE, earlier));
            ASSERT_TRUE(SetReadOnly(DATA_FILE, true));
        }

        EXPECT_EQ(Save(), CANNOT_CREATE);

        EXPECT_EQ(ListedColonies(), EARLIER);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE}) << "no temporary file may stay";
        if (c.directory)
        {
            EXPECT_TRUE(std::filesystem::is_directory(DATA_FILE));
            EXPECT_EQ(ReadBytes(std::string(DATA_FILE) + "/inside"), earlier);
            std::filesystem::remove_all(DATA_FILE);
        }
        else
        {
            EXPECT_EQ(ReadBytes(DATA_FILE), earlier);
            EXPECT_TRUE(IsReadOnly(DATA_FILE));
            ASSERT_TRUE(SetReadOnly(DATA_FILE, false));
            std::filesystem::remove(DATA_FILE);
        }
    }
}

#ifdef _WIN32
namespace
{

struct SBusyFile
{
    HANDLE handle;
    std::string temporary; // the save's temporary file, once it has been seen
    bool releaseDuringRetry;
};

// Another program's handle on coldata.dat, let go once the save has written and closed its
// new file, i.e. while it tries to put it in place.
DWORD WINAPI ReleaseWhenReplacing(LPVOID parameter)
{
    SBusyFile& busy = *static_cast<SBusyFile*>(parameter);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetTickCount64() < deadline)
    {
        for (const std::string& name : FolderEntries())
        {
            if (!IsTemporaryName(name))
            {
                continue;
            }
            // Fails while the save still writes the file; sharing deletion lets it be renamed.
            HANDLE probe = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (probe != INVALID_HANDLE_VALUE)
            {
                CloseHandle(probe);
                busy.temporary = name;
                Sleep(200);
                CloseHandle(busy.handle);
                busy.handle = INVALID_HANDLE_VALUE;
                return 0;
            }
        }
        Sleep(1);
    }
    return 1;
}

} // namespace

// Backup tools, sync clients and virus scanners hold a file for a moment: a save waits for
// them a little, and leaves the file as it was when one holds it all along.
TEST_F(SaveColoniesTest, AFileHeldByAnotherProgramIsReplacedOnceLetGoOrStaysAsItWas)
{
    const Bytes earlier = Record("Old", 1, 2, 3);
    const Bytes saved = Concat({Record("Earlier", 5, 6, 7), Record("Second", 8, 9, 10)});
    struct Case
    {
        const char* what;
        bool releaseDuringRetry;
        std::vector<std::string> errors;
        const Bytes& file;
    };
    for (const Case& c : {Case{"held all along", false, CANNOT_CREATE, earlier},
                          Case{"let go while the save retries", true, NO_ERRORS, saved}})
    {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(DATA_FILE, earlier));
        FillList(EARLIER);
        SBusyFile busy{
            CreateFileA(DATA_FILE, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
            "", c.releaseDuringRetry};
        ASSERT_NE(busy.handle, INVALID_HANDLE_VALUE);
        HANDLE releaser = nullptr;
        if (c.releaseDuringRetry)
        {
            releaser = CreateThread(nullptr, 0, ReleaseWhenReplacing, &busy, 0, nullptr);
            ASSERT_NE(releaser, nullptr);
        }

        EXPECT_EQ(Save(), c.errors);

        if (releaser != nullptr)
        {
            EXPECT_EQ(WaitForSingleObject(releaser, 30000), WAIT_OBJECT_0);
            CloseHandle(releaser);
            EXPECT_NE(busy.temporary, "") << "the save was never seen putting its file in place";
        }
        if (busy.handle != INVALID_HANDLE_VALUE)
        {
            CloseHandle(busy.handle);
        }
        EXPECT_EQ(ReadBytes(DATA_FILE), c.file);
        EXPECT_EQ(ListedColonies(), EARLIER);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
    }
}
#endif

// The new file takes over how the old one looks: its hidden attribute under Windows, its
// permission bits elsewhere.
TEST_F(SaveColoniesTest, TheSavedFileLooksLikeTheOneItReplaces)
{
#ifdef _WIN32
    const DWORD looks[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_NORMAL};
#else
    const mode_t looks[] = {0600, 0640, 0604, 0666};
#endif
    const Bytes saved = Concat({Record("Earlier", 5, 6, 7), Record("Second", 8, 9, 10)});
    for (const auto look : looks)
    {
        SCOPED_TRACE(look);
        ASSERT_TRUE(WriteBytes(DATA_FILE, Record("Old", 1, 2, 3)));
#ifdef _WIN32
        ASSERT_TRUE(SetFileAttributesA(DATA_FILE, look));
#else
        ASSERT_EQ(chmod(DATA_FILE, look), 0);
#endif
        FillList(EARLIER);
        EXPECT_EQ(Save(), NO_ERRORS);
        EXPECT_EQ(ReadBytes(DATA_FILE), saved);
#ifdef _WIN32
        EXPECT_EQ(GetFileAttributesA(DATA_FILE) & FILE_ATTRIBUTE_HIDDEN, look & FILE_ATTRIBUTE_HIDDEN);
#else
        struct stat status;
        ASSERT_EQ(stat(DATA_FILE, &status), 0);
        EXPECT_EQ(status.st_mode & 07777, look);
#endif
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
    }
}

// Another save (this program's, or another copy's) may hold the name a save tries first:
// the save takes the next name and leaves that file alone.
TEST_F(SaveColoniesTest, ATakenTemporaryNameIsPassedOverAndLeftAlone)
{
    // A replacement made and dropped here shows this process's names: DATA_FILE, then
    // ".<process>-<serial>-<attempt>.tmp", the serial counting up with each save.
    std::string probe;
    {
        CReplacementFile file(DATA_FILE);
        ASSERT_TRUE(file.Create());
        const std::vector<std::string> entries = FolderEntries();
        ASSERT_EQ(entries.size(), 1u);
        probe = entries.front();
    }
    ASSERT_EQ(FolderEntries(), std::vector<std::string>{});
    const std::string::size_type serialEnd = probe.rfind("-0.tmp");
    const std::string::size_type serialStart = probe.rfind('-', serialEnd - 1) + 1;
    ASSERT_NE(serialEnd, std::string::npos) << probe;
    const unsigned long serial = std::stoul(probe.substr(serialStart, serialEnd - serialStart));
    const std::string taken = probe.substr(0, serialStart) + std::to_string(serial + 1) + "-0.tmp";
    const Bytes otherSave(1000, 0x5A);
    ASSERT_TRUE(WriteBytes(taken, otherSave));
    const CHeldLikeASave running(taken);
    ASSERT_TRUE(running.IsHeld());

    FillList(EARLIER);
    EXPECT_EQ(Save(), NO_ERRORS);
    EXPECT_EQ(ReadBytes(DATA_FILE), Concat({Record("Earlier", 5, 6, 7), Record("Second", 8, 9, 10)}));
    EXPECT_EQ(ReadBytes(taken), otherSave);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{DATA_FILE, taken}));
}

// ---- Loading ----

using LoadColoniesTest = DataFolderTest;

TEST_F(LoadColoniesTest, AMissingFileIsReportedAndCreatesNothing)
{
    FillList(EARLIER);
    EXPECT_EQ(Load(), CANNOT_ACCESS);
    EXPECT_EQ(ListedColonies(), EARLIER);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{});
}

TEST_F(LoadColoniesTest, AFolderNamedLikeTheFileIsReported)
{
    FillList(EARLIER);
    ASSERT_TRUE(std::filesystem::create_directory(DATA_FILE));
    EXPECT_EQ(Load(), CANNOT_ACCESS);
    EXPECT_EQ(ListedColonies(), EARLIER);
    EXPECT_TRUE(std::filesystem::is_directory(DATA_FILE));
}

TEST_F(LoadColoniesTest, FilesThatBringNoColonyLeaveTheListAsItWas)
{
    struct Case
    {
        const char* what;
        Bytes content;
    };
    const Bytes marker = Record(EMPTY_LIST_MARKER, 0, 0, 0);
    const Bytes alpha = Record("Alpha", 1, 2, 3);
    const std::vector<Case> cases{
        {"empty file", {}},
        {"one byte", {0x41}},
        {"223 bytes", Bytes(alpha.begin(), alpha.end() - 1)},
        {"the marker", marker},
        {"the marker with amounts", Record(EMPTY_LIST_MARKER, 1, 2, 3)},
        {"the marker before colonies", Concat({marker, alpha, Record("Beta", 4, 5, 6)})},
        {"the marker and a trailing piece", Concat({marker, Bytes(100, 0x42)})},
    };
    for (const std::vector<Colony>& before : {EARLIER, std::vector<Colony>{}})
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(std::string(c.what) + (before.empty() ? ", empty list" : ", two colonies"));
            FillList(before);
            ASSERT_TRUE(WriteBytes(DATA_FILE, c.content));
            EXPECT_EQ(Load(), NO_ERRORS);
            EXPECT_EQ(ListedColonies(), before);
            EXPECT_EQ(ReadBytes(DATA_FILE), c.content) << "loading never writes";
        }
    }
}

TEST_F(LoadColoniesTest, ColoniesReplaceTheListInFileOrder)
{
    struct Case
    {
        const char* what;
        Bytes content;
        std::vector<Colony> loaded;
    };
    const Bytes alpha = Record("Alpha", 1500, 800, 300);
    const Bytes beta = Record("Beta", 0, 4294967295.0, 1);
    const Bytes gamma = Record("Gamma", 7, 8, 9);
    std::vector<Bytes> twelve;
    std::vector<Colony> twelveLoaded;
    for (std::uint32_t i = 0; i < 12; ++i)
    {
        twelve.push_back(Record("Colony " + std::to_string(i), i, i * 2, i * 3));
        twelveLoaded.emplace_back("Colony " + std::to_string(i), i, i * 2, i * 3);
    }
    const std::vector<Case> cases{
        {"three colonies",
         Concat({alpha, beta, gamma}),
         {{"Alpha", 1500, 800, 300}, {"Beta", 0, 4294967295u, 1}, {"Gamma", 7, 8, 9}}},
        {"a later record of a name already taken is skipped",
         Concat({alpha, Record("Alpha", 1, 1, 1), beta, Record("Beta", 2, 2, 2), alpha}),
         {{"Alpha", 1500, 800, 300}, {"Beta", 0, 4294967295u, 1}}},
        {"names differ by letter case and blanks",
         Concat({alpha, Record("alpha", 1, 1, 1), Record("Alpha ", 2, 2, 2)}),
         {{"Alpha", 1500, 800, 300}, {"alpha", 1, 1, 1}, {"Alpha ", 2, 2, 2}}},
        {"a trailing piece is ignored",
         Concat({alpha, gamma, Bytes(223, 0x47)}),
         {{"Alpha", 1500, 800, 300}, {"Gamma", 7, 8, 9}}},
        {"the marker name after the first record is a colony",
         Concat({gamma, Record(EMPTY_LIST_MARKER, 1, 2, 3)}),
         {{"Gamma", 7, 8, 9}, {EMPTY_LIST_MARKER, 1, 2, 3}}},
        {"a name with no zero byte is its 200 bytes",
         Concat({Record(std::string(200, 'N'), 1, 2, 3)}),
         {{std::string(200, 'N'), 1, 2, 3}}},
        {"stored numbers out of range or not numbers read as 0",
         Concat({RecordWithBits("Odd", 0x7FF8000000000000ull, 0x7FF0000000000000ull, 0x43E0000000000000ull),
                 Record("Wrapped", -1.0, 4294967296.0, 2.75)}),
         {{"Odd", 0, 0, 0}, {"Wrapped", 4294967295u, 0, 2}}},
        {"an empty name is a name like any other, once",
         Concat({Record("", 1, 2, 3), Record("", 4, 5, 6), alpha}),
         {{"", 1, 2, 3}, {"Alpha", 1500, 800, 300}}},
        {"twelve colonies, no limit of its own", Concat(twelve), twelveLoaded},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        FillList(EARLIER);
        g_ColonyList.MoveNext();
        ASSERT_TRUE(WriteBytes(DATA_FILE, c.content));
        EXPECT_EQ(Load(), NO_ERRORS);
        EXPECT_EQ(ListedColonies(), c.loaded);
        EXPECT_EQ(g_ColonyList.GetCount(), c.loaded.size());
        ExpectCursorOnHead();
    }
}

// ---- Saving and loading again ----

using ColonyFileRoundTripTest = DataFolderTest;

TEST_F(ColonyFileRoundTripTest, WhatIsSavedLoadsBackAsItWas)
{
    const std::vector<std::vector<Colony>> lists{
        {{"Alpha", 0, 0, 0}},
        {{"Max", 4294967295u, 4294967295u, 4294967295u}, {"", 1, 2, 3}, {"alpha", 4, 5, 6}},
        {{"Caf\xe9 \xff\x80\x01", 123456789, 987654321, 42}, {std::string(200, 'W'), 1, 1, 1}},
    };
    for (const std::vector<Colony>& list : lists)
    {
        SCOPED_TRACE(std::get<0>(list.front()));
        FillList(list);
        EXPECT_EQ(Save(), NO_ERRORS);
        FillList(EARLIER);
        EXPECT_EQ(Load(), NO_ERRORS);
        EXPECT_EQ(ListedColonies(), list);
        ExpectCursorOnHead();
    }
}

TEST_F(ColonyFileRoundTripTest, LongNamesComeBackCutTo200Bytes)
{
    std::string name;
    for (int i = 0; i < 250; ++i)
    {
        name.push_back(static_cast<char>('a' + i % 26));
    }
    FillList({{name, 1, 2, 3}});
    EXPECT_EQ(Save(), NO_ERRORS);
    EXPECT_EQ(Load(), NO_ERRORS);
    EXPECT_EQ(ListedColonies(), (std::vector<Colony>{{name.substr(0, 200), 1, 2, 3}}));
}

TEST_F(ColonyFileRoundTripTest, AnEmptyListSavedAndLoadedKeepsWhatIsThere)
{
    EXPECT_EQ(Save(), NO_ERRORS);
    FillList(EARLIER);
    EXPECT_EQ(Load(), NO_ERRORS);
    EXPECT_EQ(ListedColonies(), EARLIER);
}

TEST_F(ColonyFileRoundTripTest, AFirstColonyNamedLikeTheMarkerIsSavedButNotLoaded)
{
    const std::vector<Colony> list{{EMPTY_LIST_MARKER, 1, 2, 3}, {"Beta", 4, 5, 6}};
    FillList(list);
    EXPECT_EQ(Save(), NO_ERRORS);
    EXPECT_EQ(ReadBytes(DATA_FILE), Concat({Record(EMPTY_LIST_MARKER, 1, 2, 3), Record("Beta", 4, 5, 6)}));
    FillList(EARLIER);
    EXPECT_EQ(Load(), NO_ERRORS);
    EXPECT_EQ(ListedColonies(), EARLIER);
}

TEST_F(ColonyFileRoundTripTest, AHundredThousandColoniesComeBackInOrderWithoutTheirRepeats)
{
    std::vector<Colony> list;
    for (std::uint32_t i = 0; i < 100000; ++i)
    {
        list.emplace_back("Colony " + std::to_string(i), i, ~i, i * 7u);
    }
    FillList(list);
    EXPECT_EQ(Save(), NO_ERRORS);
    std::optional<Bytes> saved = ReadBytes(DATA_FILE);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->size(), 100000u * 224u);

    // Every name again, in another order and with other amounts: all of them are skipped.
    for (std::uint32_t i = 0; i < 100000; ++i)
    {
        const Bytes repeat = Record("Colony " + std::to_string((i * 7919u) % 100000u), 1, 2, 3);
        saved->insert(saved->end(), repeat.begin(), repeat.end());
    }
    ASSERT_TRUE(WriteBytes(DATA_FILE, *saved));
    FillList(EARLIER);
    EXPECT_EQ(Load(), NO_ERRORS);
    EXPECT_EQ(ListedColonies(), list);
    EXPECT_EQ(g_ColonyList.GetCount(), 100000u);
}

// ---- Files that are no ordinary files, links ----

TEST_F(LoadColoniesTest, AFileThatIsNoOrdinaryFileIsRefusedAtOnce)
{
    struct Case
    {
        const char* what;
        const char* linkTo; // null: a named pipe with no writer
    };
    // /dev/zero never ends, /dev/urandom grows the list without end, a pipe waits for a writer.
    for (const Case& c : {Case{"a link to /dev/zero", "/dev/zero"},
                          Case{"a link to /dev/urandom", "/dev/urandom"}, Case{"a named pipe", nullptr}})
    {
        SCOPED_TRACE(c.what);
        const bool made =
            c.linkTo != nullptr ? bench::MakeSymbolicLink(c.linkTo, DATA_FILE) : bench::MakePipe(DATA_FILE);
        if (!made)
        {
            GTEST_SKIP() << "the system makes no links or pipes here";
        }
        FillList(EARLIER);
        g_ColonyList.MoveNext();
        const CNode* cursor = g_ColonyList.GetCurrent();

        EXPECT_EQ(Load(), CANNOT_ACCESS);

        EXPECT_EQ(ListedColonies(), EARLIER);
        EXPECT_EQ(g_ColonyList.GetCurrent(), cursor);
        ASSERT_TRUE(bench::RemoveLinkOrPipe(DATA_FILE));
        ASSERT_EQ(FolderEntries(), std::vector<std::string>{});
    }
}

// Save writes through a link: the link stays, the file it leads to gets the new colonies,
// and the new file is made beside that file (natively a link into another file system shows
// it: a file made beside the link could not be renamed there).
TEST_F(SaveColoniesTest, ALinkStaysALinkAndTheFileItLeadsToIsReplaced)
{
    std::filesystem::create_directory("sub");
    struct Case
    {
        const char* what;
        std::string linkTo;
        std::string target;
        std::string extraLink; // a link on the way, or empty
    };
    std::vector<Case> cases{
        {"a relative link into a folder", "sub/colonies.dat", "sub/colonies.dat", ""},
        {"a link to a link", "second.lnk", "sub/colonies.dat", "second.lnk"},
    };
#ifndef _WIN32
    char memoryFolder[] = "/dev/shm/zerak-link-XXXXXX";
    const bool inMemory = mkdtemp(memoryFolder) != nullptr;
    if (inMemory)
    {
        const std::string target = std::string(memoryFolder) + "/colonies.dat";
        cases.push_back({"a link by its full path into another file system", target, target, ""});
    }
#endif
    const Bytes earlier = Record("Old", 1, 2, 3);
    const Bytes saved = Concat({Record("Earlier", 5, 6, 7), Record("Second", 8, 9, 10)});
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(c.target, earlier));
        if (!c.extraLink.empty() && !bench::MakeSymbolicLink("sub/colonies.dat", c.extraLink))
        {
            GTEST_SKIP() << "the system makes no links here";
        }
        if (!bench::MakeSymbolicLink(c.linkTo, DATA_FILE))
        {
            GTEST_SKIP() << "the system makes no links here";
        }
        FillList(EARLIER);

        EXPECT_EQ(Save(), NO_ERRORS);

        EXPECT_TRUE(bench::IsSymbolicLink(DATA_FILE));
        EXPECT_EQ(ReadBytes(c.target), saved);
        EXPECT_EQ(ReadBytes(DATA_FILE), saved);
        EXPECT_EQ(TemporaryFileCount(), 0u);
        EXPECT_EQ(TemporaryFileCount("sub"), 0u);
        ASSERT_TRUE(bench::RemoveLinkOrPipe(DATA_FILE));
        if (!c.extraLink.empty())
        {
            ASSERT_TRUE(bench::RemoveLinkOrPipe(c.extraLink));
        }
        std::filesystem::remove(c.target);
    }
#ifndef _WIN32
    if (inMemory)
    {
        EXPECT_EQ(FolderEntries(memoryFolder), std::vector<std::string>{});
        std::filesystem::remove_all(memoryFolder);
    }
#endif
}

// ---- Temporary files left behind ----

// Files named as a save names its temporary file are removed by the next save, except one
// that a running save is writing; files named otherwise are never touched.
TEST_F(SaveColoniesTest, TemporaryFilesOfEarlierSavesAreRemovedButNotOneBeingWritten)
{
    const std::vector<std::string> leftBehind{"coldata.dat.999-0-0.tmp", "coldata.dat.12-34-5.tmp",
                                              "coldata.dat.4294967295-7-99.tmp"};
    const std::vector<std::string> others{"coldata.dat.tmp",           "coldata.dat.backup.tmp",
                                          "other.dat.1-2-3.tmp",       "coldata.dat.1-2.tmp",
                                          "coldata.dat.1-2-3.tmp.old", "coldata.dat.1-2-3-4.tmp",
                                          "coldata.dat.1--3.tmp",      "xcoldata.dat.1-2-3.tmp"};
    for (const std::string& name : leftBehind)
    {
        ASSERT_TRUE(WriteBytes(name, Bytes(1000, 0x11)));
    }
    for (const std::string& name : others)
    {
        ASSERT_TRUE(WriteBytes(name, Bytes(10, 0x22)));
    }
    ASSERT_TRUE(WriteBytes(DATA_FILE, Record("Old", 1, 2, 3)));
    // Another save, still writing.
    CReplacementFile running(DATA_FILE);
    ASSERT_TRUE(running.Create());
    const Bytes runningContent = Record("Running", 4, 5, 6);
    ASSERT_TRUE(running.Write(runningContent.data(), runningContent.size()));
    std::vector<std::string> expected = others;
    expected.push_back(DATA_FILE);
    for (const std::string& name : FolderEntries())
    {
        if (name.compare(0, 12, "coldata.dat.") == 0 && name.find("-0.tmp") != std::string::npos &&
            std::find(leftBehind.begin(), leftBehind.end(), name) == leftBehind.end())
        {
            expected.push_back(name);
        }
    }
    ASSERT_EQ(expected.size(), others.size() + 2) << "the running save's file is not to be found";
    std::sort(expected.begin(), expected.end());

    FillList(EARLIER);
    EXPECT_EQ(Save(), NO_ERRORS);

    EXPECT_EQ(FolderEntries(), expected);
    EXPECT_EQ(ReadBytes(DATA_FILE), Concat({Record("Earlier", 5, 6, 7), Record("Second", 8, 9, 10)}));
    // The running save ends as it would have: its file takes the place.
    EXPECT_EQ(running.Commit(), CReplacementFile::EResult::Done);
    EXPECT_EQ(ReadBytes(DATA_FILE), runningContent);
    for (const std::string& name : others)
    {
        EXPECT_EQ(ReadBytes(name), Bytes(10, 0x22)) << name;
    }
}

#ifndef _WIN32
namespace
{

std::vector<Colony> ManyColonies(const std::string& prefix, std::uint32_t count)
{
    std::vector<Colony> colonies;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        colonies.emplace_back(prefix + std::string(100, '.') + std::to_string(i), i, i + 1, i + 2);
    }
    return colonies;
}

Bytes FileOf(const std::vector<Colony>& colonies)
{
    std::vector<Bytes> records;
    for (const Colony& colony : colonies)
    {
        records.push_back(
            Record(std::get<0>(colony), std::get<1>(colony), std::get<2>(colony), std::get<3>(colony)));
    }
    return Concat(records);
}

// A copy of this process that saves the list and ends; its exit code says whether the save
// showed a message.
pid_t StartSaving()
{
    const pid_t child = fork();
    if (child == 0)
    {
        _exit(Save().empty() ? 0 : 1);
    }
    return child;
}

int WaitForExit(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

} // namespace

// A save killed at any point leaves the complete old or the complete new file and perhaps
// its temporary file; the next save removes that.
TEST_F(SaveColoniesTest, ASaveKilledAtAnyPointLeavesOldOrNewFileAndTheNextSaveClearsUp)
{
    constexpr int KILLS = 24;
    const std::vector<Colony> older = ManyColonies("Old", 1000);
    const std::vector<Colony> newer = ManyColonies("New", 60000);
    const Bytes oldFile = FileOf(older);
    const Bytes newFile = FileOf(newer);
    FillList(older);
    ASSERT_EQ(Save(), NO_ERRORS);
    FillList(newer);

    // One whole save tells how long the kills are to be spread over.
    ASSERT_TRUE(WriteBytes(DATA_FILE, oldFile));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(WaitForExit(StartSaving()), 0);
    const auto saveTime =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    ASSERT_EQ(ReadBytes(DATA_FILE), newFile);
    ASSERT_TRUE(WriteBytes(DATA_FILE, oldFile));

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long long> killPoint(0, saveTime.count());
    int oldFiles = 0;
    int newFiles = 0;
    int killsLeavingTemporaryFiles = 0;
    for (int kill = 0; kill < KILLS; ++kill)
    {
        const pid_t child = StartSaving();
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(killPoint(random)));
        ::kill(child, SIGKILL);
        WaitForExit(child);
        const std::optional<Bytes> file = ReadBytes(DATA_FILE);
        ASSERT_TRUE(file == oldFile || file == newFile) << "kill " << kill << " left a damaged file";
        (file == oldFile ? oldFiles : newFiles) += 1;
        killsLeavingTemporaryFiles += TemporaryFileCount() > 0 ? 1 : 0;
        if (file == newFile)
        {
            ASSERT_TRUE(WriteBytes(DATA_FILE, oldFile));
        }
    }
    std::printf("%d kills in a save of %lld us: %d old files, %d new files, %d kills left a temporary file\n",
                KILLS, static_cast<long long>(saveTime.count()), oldFiles, newFiles,
                killsLeavingTemporaryFiles);
    ASSERT_GT(killsLeavingTemporaryFiles, 0) << "no kill hit a save at work; the test shows nothing";

    EXPECT_EQ(Save(), NO_ERRORS);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
    EXPECT_EQ(ReadBytes(DATA_FILE), newFile);
}

// Two copies of the program saving at the same moment: each save ends without a message,
// the file is the complete one of either, and no temporary file stays.
TEST_F(SaveColoniesTest, TwoCopiesSavingAtOnceLeaveOneCompleteFile)
{
    constexpr int ROUNDS = 6;
    const std::vector<Colony> first = ManyColonies("First", 20000);
    const std::vector<Colony> second = ManyColonies("Second", 30000);
    const Bytes firstFile = FileOf(first);
    const Bytes secondFile = FileOf(second);
    for (int round = 0; round < ROUNDS; ++round)
    {
        SCOPED_TRACE("round " + std::to_string(round));
        FillList(first);
        const pid_t one = StartSaving();
        FillList(second);
        const pid_t other = StartSaving();
        ASSERT_GT(one, 0);
        ASSERT_GT(other, 0);
        const int oneStatus = WaitForExit(one);
        const int otherStatus = WaitForExit(other);
        EXPECT_TRUE(WIFEXITED(oneStatus) && WEXITSTATUS(oneStatus) == 0);
        EXPECT_TRUE(WIFEXITED(otherStatus) && WEXITSTATUS(otherStatus) == 0);
        const std::optional<Bytes> file = ReadBytes(DATA_FILE);
        EXPECT_TRUE(file == firstFile || file == secondFile);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
    }
}
#endif

// ---- Memory running out ----

using ColonyFileMemoryTest = DataFolderTest;

// Load builds the new list aside and Save gets its buffer first: when memory runs out either
// says so, and the list and the file stay exactly as they were.
TEST_F(ColonyFileMemoryTest, RunningOutOfMemoryLeavesTheListAndTheFileAsTheyWere)
{
    constexpr std::uint32_t LARGE_FILE_COLONIES = 20000;
    std::vector<Bytes> records;
    for (std::uint32_t i = 0; i < LARGE_FILE_COLONIES; ++i)
    {
        records.push_back(Record(std::string(190, 'n') + std::to_string(i), i, 1, 2));
    }
    const Bytes largeFile = Concat(records);
    const Bytes smallFile = Record("Old", 1, 2, 3);
    struct Case
    {
        const char* what;
        void (*action)();
        const Bytes& file;
        std::size_t moreBytes;
        std::vector<std::string> errors;
        std::size_t countAfterwards; // with memory enough
    };
    const std::vector<Case> cases{
        {"loading 20,000 colonies in 2 MB", LoadColonies, largeFile, 2u << 20, NO_MEMORY_TO_LOAD,
         LARGE_FILE_COLONIES},
        {"loading 20,000 colonies in 64 KB", LoadColonies, largeFile, 64u << 10, NO_MEMORY_TO_LOAD,
         LARGE_FILE_COLONIES},
        {"saving with no room for the buffer", SaveColonies, smallFile, 16u << 10, NO_MEMORY_TO_SAVE,
         EARLIER.size()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(DATA_FILE, c.file));
        FillList(EARLIER);
        g_ColonyList.MoveNext();
        const CNode* cursor = g_ColonyList.GetCurrent();
        std::size_t refused = 0;
        std::size_t peak = 0;
        const std::size_t before = BytesInUse();

        const std::vector<std::string> errors = RunShowingErrors(
            [&]
            {
                const CAllocationLimit limit(c.moreBytes);
                c.action();
                refused = limit.RefusedCount();
                peak = limit.PeakBytes();
            });

        EXPECT_EQ(errors, c.errors);
        EXPECT_GT(refused, 0u);
        EXPECT_EQ(ListedColonies(), EARLIER);
        EXPECT_EQ(g_ColonyList.GetCurrent(), cursor);
        EXPECT_EQ(ReadBytes(DATA_FILE), c.file);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
        std::printf("%s: %zu bytes in use before, refused beyond %zu more, peak %zu more\n", c.what, before,
                    c.moreBytes, peak - before);

        // With memory enough the same action succeeds.
        const std::size_t unlimitedBefore = BytesInUse();
        std::size_t unlimitedPeak = 0;
        EXPECT_EQ(RunShowingErrors(
                      [&]
                      {
                          const CAllocationLimit unlimited(std::numeric_limits<std::size_t>::max() / 2);
                          c.action();
                          unlimitedPeak = unlimited.PeakBytes();
                      }),
                  NO_ERRORS);
        EXPECT_EQ(g_ColonyList.GetCount(), c.countAfterwards);
        std::printf("%s with memory enough: peak %zu bytes more for a file of %zu bytes\n", c.what,
                    unlimitedPeak - unlimitedBefore, c.file.size());
    }
}
