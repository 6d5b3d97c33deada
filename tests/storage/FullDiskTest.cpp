// Saving onto a file system that runs out of room. full-disk.sh puts the current folder on
// a tiny file system of its own before this program runs.
#include "model/ColonyList.h"
#include "storage/ColonyFile.h"
#include "storage/DataFolder.h"
#include "storage/ShownErrors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

const char DATA_FILE[] = "coldata.dat";

class FullDiskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("ZERAK_FULL_DISK"), nullptr) << "run through tests/storage/full-disk.sh";
        for (const std::string& name : FolderEntries())
        {
            std::filesystem::remove_all(name);
        }
        g_ColonyList.RemoveAll();
    }
    void TearDown() override { g_ColonyList.RemoveAll(); }
};

std::vector<Colony> Colonies(std::uint32_t count)
{
    std::vector<Colony> colonies;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        colonies.emplace_back("Colony " + std::to_string(i), i, i + 1, i + 2);
    }
    return colonies;
}

std::vector<Bytes> Records(const std::vector<Colony>& colonies)
{
    std::vector<Bytes> records;
    for (const Colony& c : colonies)
    {
        records.push_back(Record(std::get<0>(c), std::get<1>(c), std::get<2>(c), std::get<3>(c)));
    }
    return records;
}

} // namespace

// Mounted with a few pages of room: a list larger than that cannot be written.
TEST_F(FullDiskTest, ASaveThatRunsOutOfRoomKeepsTheEarlierFile)
{
    const std::vector<Colony> small = Colonies(3);
    FillList(small);
    ASSERT_EQ(RunShowingErrors(SaveColonies), std::vector<std::string>{});
    const Bytes earlier = Concat(Records(small));
    ASSERT_EQ(ReadBytes(DATA_FILE), earlier);

    // 2,000 records are 448,000 bytes, far more than the room there is.
    const std::vector<Colony> large = Colonies(2000);
    FillList(large);
    EXPECT_EQ(RunShowingErrors(SaveColonies), std::vector<std::string>{"Failed to write file."});
    EXPECT_EQ(ReadBytes(DATA_FILE), earlier);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE}) << "no temporary file may stay";
    EXPECT_EQ(ListedColonies(), large);

    // The failed attempt gave its room back: a list that fits is saved as before.
    const std::vector<Colony> fits = Colonies(5);
    FillList(fits);
    EXPECT_EQ(RunShowingErrors(SaveColonies), std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(DATA_FILE), Concat(Records(fits)));
}

// Mounted with room for one file only: the new content has nowhere to go.
TEST_F(FullDiskTest, ASaveWithNoRoomForAnotherFileKeepsTheEarlierFile)
{
    const std::vector<Colony> first = Colonies(2);
    FillList(first);
    ASSERT_EQ(RunShowingErrors(SaveColonies), std::vector<std::string>{});
    const Bytes earlier = Concat(Records(first));
    ASSERT_EQ(ReadBytes(DATA_FILE), earlier);

    FillList(Colonies(4));
    EXPECT_EQ(RunShowingErrors(SaveColonies), std::vector<std::string>{"Failed to create file."});
    EXPECT_EQ(ReadBytes(DATA_FILE), earlier);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{DATA_FILE});
    EXPECT_EQ(ListedColonies(), Colonies(4));
}
