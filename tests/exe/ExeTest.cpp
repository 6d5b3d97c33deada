// The shipped ZerakCalc.exe seen from outside: started as the desktop starts it, read as a
// user sees it, closed as a user closes it.

#include "exe/ShippedProgram.h"

#include "res/resource.h"

#include <gtest/gtest.h>

using namespace bench;

namespace
{

const char* const TITLE = "Kolvarn's Zerak Resources Calculator";
const char* const STANDING_BY = "Kolvarn's Zerak Resources Calculator standing by ...";

const std::vector<ColonyRecord> SAMPLE = {
    {"Velquin Prime", 1200, 800, 300},
    {"Outpost", 40, 20, 0},
    {"Deep Moon", 4294967295u, 0, 7},
};

LRESULT ListCount(HWND main)
{
    HWND list = GetDlgItem(main, IDC_COLONYLIST);
    return list == nullptr ? -1 : SendWithTimeout(list, LB_GETCOUNT);
}

void ExpectEndsWithZero(Program& program)
{
    DWORD code = 12345;
    ASSERT_TRUE(program.WaitForExit(code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
}

} // namespace

TEST(ShippedProgram, StartsWithAnEmptyListEvenWhenTheDataFileExists)
{
    ScratchFolder folder;
    ASSERT_TRUE(WriteColonyFile(folder.File("coldata.dat"), SAMPLE));
    const std::optional<Bytes> before = ReadBytes(folder.File("coldata.dat"));
    ASSERT_TRUE(before);
    ASSERT_EQ(before->size(), 3u * 224u);

    Program program;
    HWND main = StartShipped(program, folder.Path());
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(ListCount(main), 0);
    EXPECT_EQ(WindowText(GetDlgItem(main, IDC_STATUSBAR)), STANDING_BY);
    for (int field : {IDC_METALRATE, IDC_CRYSTALRATE, IDC_DEUTERIUMRATE})
        EXPECT_EQ(WindowText(GetDlgItem(main, field)), "") << "rate field " << field;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_LOADBUTTON)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_DELETEBUTTON)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_MODIFYBUTTON)));

    // The file was there to be had: File, Load data brings all three colonies.
    PostMessageA(main, WM_COMMAND, IDM_LOADDATA, 0);
    EXPECT_TRUE(WaitUntil([&] { return ListCount(main) == 3; })) << "lines: " << ListCount(main);

    PostMessageA(main, WM_CLOSE, 0, 0);
    ExpectEndsWithZero(program);
    EXPECT_EQ(ReadBytes(folder.File("coldata.dat")), before) << "the data file changed";
}

TEST(ShippedProgram, MainWindowHasItsTitleClassStyleAndSize)
{
    ScratchFolder folder;
    Program program;
    HWND main = StartShipped(program, folder.Path());
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(WindowText(main), TITLE);
    EXPECT_EQ(ClassName(main), "Velquin Window");
    EXPECT_EQ(GetParent(main), nullptr);
    EXPECT_NE(GetMenu(main), nullptr);

    const LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
    struct Bit
    {
        const char* name;
        LONG_PTR bit;
        bool wanted;
    };
    const Bit bits[] = {
        {"WS_CAPTION", WS_CAPTION, true},
        {"WS_SYSMENU", WS_SYSMENU, true},
        {"WS_MINIMIZEBOX", WS_MINIMIZEBOX, true},
        {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX, false},
        {"WS_THICKFRAME", WS_THICKFRAME, false},
        {"WS_POPUP", WS_POPUP, false},
        {"WS_CHILD", WS_CHILD, false},
        {"WS_VISIBLE", WS_VISIBLE, true},
    };
    for (const Bit& b : bits)
        EXPECT_EQ((style & b.bit) == b.bit, b.wanted) << b.name << " in style 0x" << std::hex << style;

    const SIZE size = OuterSize(main);
    EXPECT_EQ(size.cx, 450);
    EXPECT_EQ(size.cy, 300);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_FALSE(IsZoomed(main));

    // No edge or corner offers itself for dragging to another size.
    RECT frame = {};
    GetWindowRect(main, &frame);
    const int midX = (frame.left + frame.right) / 2, midY = (frame.top + frame.bottom) / 2;
    const POINT edges[] = {{frame.left, midY},
                           {frame.right - 1, midY},
                           {midX, frame.top},
                           {midX, frame.bottom - 1},
                           {frame.left, frame.top},
                           {frame.right - 1, frame.top},
                           {frame.left, frame.bottom - 1},
                           {frame.right - 1, frame.bottom - 1}};
    for (const POINT& p : edges)
    {
        const LRESULT hit = SendWithTimeout(main, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        ASSERT_NE(hit, -1);
        EXPECT_FALSE(hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
            << "sizing hit " << hit << " at " << p.x << "," << p.y;
    }

    PostMessageA(main, WM_CLOSE, 0, 0);
    ExpectEndsWithZero(program);
}

TEST(ShippedProgram, HonoursTheShowCommandItIsStartedWith)
{
    struct Case
    {
        const char* name;
        WORD show;
        bool minimised;
    };
    const Case cases[] = {
        {"SW_SHOWMINNOACTIVE", SW_SHOWMINNOACTIVE, true},
        {"SW_SHOWMINIMIZED", SW_SHOWMINIMIZED, true},
        {"SW_SHOWNORMAL", SW_SHOWNORMAL, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        Program program;
        HWND main = StartShipped(program, folder.Path(), c.show);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(IsIconic(main) != FALSE, c.minimised);

        // Restored as from the task bar, it has its whole size again.
        PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); }));
        EXPECT_TRUE(WaitUntil(
            [&]
            {
                const SIZE size = OuterSize(main);
                return size.cx == 450 && size.cy == 300;
            }))
            << OuterSize(main).cx << " x " << OuterSize(main).cy;

        PostMessageA(main, WM_CLOSE, 0, 0);
        ExpectEndsWithZero(program);
    }
}

TEST(ShippedProgram, EveryWayOfClosingEndsWithExitCodeZeroAndSavesNothing)
{
    struct Route
    {
        const char* name;
        void (*close)(HWND main);
    };
    const Route routes[] = {
        {"File, Exit", [](HWND main) { PostMessageA(main, WM_COMMAND, IDM_EXIT, 0); }},
        {"system menu Close", [](HWND main) { PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); }},
        {"click on the close box",
         [](HWND main)
         {
             POINT box = {};
             ASSERT_TRUE(FindCloseBox(main, box)) << "no point of the caption is the close box";
             ClickAt(box);
         }},
    };
    for (const Route& route : routes)
    {
        SCOPED_TRACE(route.name);
        ScratchFolder folder;
        Program program;
        HWND main = StartShipped(program, folder.Path());
        ASSERT_NE(main, nullptr);
        route.close(main);
        ExpectEndsWithZero(program);
        EXPECT_EQ(GetFileAttributesA(folder.File("coldata.dat").c_str()), INVALID_FILE_ATTRIBUTES)
            << "a data file was written at exit";
    }
}

TEST(ShippedProgram, TwoCopiesRunSideBySideEachWithItsOwnWindow)
{
    ScratchFolder folder;
    Program first, second;
    HWND firstMain = StartShipped(first, folder.Path());
    HWND secondMain = StartShipped(second, folder.Path());
    ASSERT_NE(firstMain, nullptr);
    ASSERT_NE(secondMain, nullptr);
    EXPECT_NE(firstMain, secondMain);

    PostMessageA(firstMain, WM_COMMAND, IDM_EXIT, 0);
    ExpectEndsWithZero(first);
    EXPECT_TRUE(IsWindow(secondMain));
    EXPECT_TRUE(second.WaitForIdle());
    EXPECT_EQ(WindowText(secondMain), TITLE);

    PostMessageA(secondMain, WM_COMMAND, IDM_EXIT, 0);
    ExpectEndsWithZero(second);
}

TEST(ShippedProgram, CarriesVersionOnePointTwoAndItsManifest)
{
    const std::string program = ShippedProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    const struct
    {
        const char* key;
        const char* value;
    } strings[] = {
        {"FileVersion", "1.2"},
        {"ProductVersion", "1.2"},
        {"ProductName", TITLE},
        {"OriginalFilename", "ZerakCalc.exe"},
    };
    for (const auto& s : strings)
    {
        char* value = nullptr;
        const std::string path = std::string("\\StringFileInfo\\040904E4\\") + s.key;
        ASSERT_TRUE(VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            << s.key;
        EXPECT_STREQ(value, s.value) << s.key;
    }

    HMODULE image =
        LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr) << "no application manifest (1, RT_MANIFEST)";
    const char* text = static_cast<const char*>(LockResource(LoadResource(image, found)));
    const std::string manifest(text, SizeofResource(image, found));
    FreeLibrary(image);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"),
              std::string::npos);
    // A DPI-aware program would be laid out at 96 DPI on a larger screen: cut, not scaled.
    EXPECT_NE(manifest.find(">false</dpiAware>"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
}
