#include "storage/ColonyFile.h"
#include "model/ColonyList.h"
#include "storage/DataFolder.h"
#include "storage/ReplacementFile.h"
#include "storage/ShownErrors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace
{

const char DATA_FILE[] = "coldata.dat";
const std::string EMPTY_LIST_MARKER = "KolvarnScreewsThisFile";
const std::vector<std::string> NO_ERRORS;
const std::vector<std::string> CANNOT_CREATE{"Failed to create file."};
const std::vector<std::string> CANNOT_ACCESS{"Failed accessing file."};

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
TEST_F(SaveColoniesTest, AFileLockedByAnotherProgramStaysAsItWas)
{
    const Bytes earlier = Record("Old", 1, 2, 3);
    ASSERT_TRUE(WriteBytes(DATA_FILE, earlier));
    FillList(EARLIER);
    HANDLE other =
        CreateFileA(DATA_FILE, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);

    EXPECT_EQ(Save(), CANNOT_CREATE);
    CloseHandle(other);

    EXPECT_EQ(ReadBytes(DATA_FILE), earlier);
    EXPECT_EQ(ListedColonies(), EARLIER);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
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
