// The shipped program killed while it saves, as the task manager or a crash would end it: the
// data file is always the complete old or the complete new one, and the next save clears away
// the temporary files the killed saves left.
#include "exe/ShippedProgram.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace
{

using namespace bench;

constexpr int KILLS = 10;
// Kills go on past KILLS until one has hit a save at work, up to this many.
constexpr int MOST_KILLS = 40;
// Enough colonies that a save takes a while to be killed in.
constexpr std::uint32_t NEW_COLONIES = 150000;

std::vector<ColonyRecord> Colonies(const std::string& prefix, std::uint32_t count)
{
    std::vector<ColonyRecord> colonies;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        colonies.push_back({prefix + " " + std::to_string(i), i, i * 2, i * 3});
    }
    return colonies;
}

int TemporaryFiles(const ScratchFolder& folder)
{
    int count = 0;
    for (const std::string& name : FolderEntries(folder.Path()))
    {
        count += name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0 ? 1 : 0;
    }
    return count;
}

// The program started in the folder with the newer colonies loaded from coldata.dat, which
// then gets the older content back, so that a save tells old from new.
HWND StartWithNewerLoaded(Program& program, const ScratchFolder& folder, const Bytes& newer,
                          const Bytes& older)
{
    if (!WriteBytes(folder.File("coldata.dat"), newer))
    {
        ADD_FAILURE() << "cannot write coldata.dat";
        return nullptr;
    }
    HWND main = StartShipped(program, folder.Path());
    if (main == nullptr)
    {
        return nullptr;
    }
    SendWithTimeout(main, WM_COMMAND, IDM_LOADDATA);
    const LRESULT lines = SendWithTimeout(GetDlgItem(main, IDC_COLONYLIST), LB_GETCOUNT);
    if (lines != static_cast<LRESULT>(NEW_COLONIES) || !WriteBytes(folder.File("coldata.dat"), older))
    {
        ADD_FAILURE() << "the newer colonies did not load (" << lines << " lines)";
        return nullptr;
    }
    return main;
}

} // namespace

TEST(ShippedProgram, ASaveKilledAtAnyPointLeavesOldOrNewFileAndTheNextSaveClearsUp)
{
    ScratchFolder folder;
    const Bytes older = ColonyFile(Colonies("Old", 1000));
    const Bytes newer = ColonyFile(Colonies("New", NEW_COLONIES));

    // One whole save tells how long the kills are to be spread over; the save command is
    // sent, so it returns when the save is done.
    ULONGLONG saveMs = 0;
    {
        Program program;
        HWND main = StartWithNewerLoaded(program, folder, newer, older);
        ASSERT_NE(main, nullptr);
        const ULONGLONG started = GetTickCount64();
        SendWithTimeout(main, WM_COMMAND, IDM_SAVEDATA);
        saveMs = GetTickCount64() - started;
        ASSERT_EQ(ReadBytes(folder.File("coldata.dat")), newer);
        PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(program.WaitForExit(code));
    }

    std::mt19937 random(20261210);
    std::uniform_int_distribution<ULONGLONG> killPoint(0, saveMs);
    int oldFiles = 0;
    int newFiles = 0;
    int killsLeavingTemporaryFiles = 0;
    int kills = 0;
    for (; kills < KILLS || (killsLeavingTemporaryFiles == 0 && kills < MOST_KILLS); ++kills)
    {
        const int kill = kills;
        SCOPED_TRACE("kill " + std::to_string(kill));
        const int temporaryBefore = TemporaryFiles(folder);
        Program program;
        HWND main = StartWithNewerLoaded(program, folder, newer, older);
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_COMMAND, IDM_SAVEDATA, 0);
        Sleep(static_cast<DWORD>(killPoint(random)));
        program.Kill();
        const std::optional<Bytes> file = ReadBytes(folder.File("coldata.dat"));
        ASSERT_TRUE(file == older || file == newer) << "the kill left a damaged file";
        (file == older ? oldFiles : newFiles) += 1;
        killsLeavingTemporaryFiles += TemporaryFiles(folder) > temporaryBefore ? 1 : 0;
    }
    std::printf("%d kills in a save of %llu ms: %d old files, %d new files, %d kills left a temporary file\n",
                kills, saveMs, oldFiles, newFiles, killsLeavingTemporaryFiles);
    ASSERT_GT(killsLeavingTemporaryFiles, 0) << "no kill hit a save at work; the test shows nothing";

    Program program;
    HWND main = StartWithNewerLoaded(program, folder, newer, older);
    ASSERT_NE(main, nullptr);
    SendWithTimeout(main, WM_COMMAND, IDM_SAVEDATA);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"coldata.dat"});
    EXPECT_EQ(ReadBytes(folder.File("coldata.dat")), newer);
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(program.WaitForExit(code));
    EXPECT_EQ(code, 0u);
}
