// The About box and Help, driven through the real main window and dialog as a user would.

#include "WinHelpRecorder.h"
#include "bench/GdiObjects.h"
#include "bench/Session.h"

#include "res/resource.h"
#include "ui/dialogs/AboutDialog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

using bench::UiSession;

constexpr int PICTURE_X = 30;
constexpr int PICTURE_Y = 20;
constexpr int PICTURE_WIDTH = 250;
constexpr int PICTURE_HEIGHT = 100;
constexpr COLORREF LETTER_BLUE = RGB(0, 0, 255);

HWND OpenAbout(UiSession& ui)
{
    if (!ui.ChooseMenu(IDM_ABOUT))
    {
        return nullptr;
    }
    return ui.WaitDialog("About");
}

// The title's shape as the program's own resources hold it: true where a letter is.
struct TitleShape
{
    std::vector<bool> letter = std::vector<bool>(PICTURE_WIDTH * PICTURE_HEIGHT, false);
    bool At(int x, int y) const { return letter[static_cast<size_t>(y * PICTURE_WIDTH + x)]; }
    int LetterCount() const
    {
        int count = 0;
        for (bool isLetter : letter)
        {
            count += isLetter ? 1 : 0;
        }
        return count;
    }
};

// A stored 24-bit bitmap resource, read as it lies in the module (bottom-up rows).
struct StoredBitmap
{
    const BITMAPINFOHEADER* header = nullptr;
    const std::uint8_t* bits = nullptr;

    COLORREF At(int x, int y) const
    {
        const int stride = (header->biWidth * 3 + 3) & ~3;
        const std::uint8_t* pixel = bits + (header->biHeight - 1 - y) * stride + x * 3;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }
};

StoredBitmap FindStoredBitmap(int id)
{
    StoredBitmap bitmap;
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)); // RT_BITMAP
    if (found == nullptr || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER))
    {
        return bitmap;
    }
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    bitmap.header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    bitmap.bits = data + bitmap.header->biSize;
    return bitmap;
}

// Where the dialog's own background can be seen: outside the group box's frame.
COLORREF DialogBackground(const bench::Capture& capture)
{
    return capture.At(2, 2);
}

// Client rectangles of the children that paint over the dialog (texts and the button); the
// group box draws only its frame, away from the picture.
std::vector<RECT> OpaqueChildRects(HWND dialog)
{
    std::vector<RECT> rects;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (bench::ClassName(child) == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX)
        {
            continue;
        }
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        rects.push_back(rect);
    }
    return rects;
}

struct PictureCheck
{
    int lettersSeen = 0;
    int groundSeen = 0;
    int wrongPixels = 0;
    std::string firstWrong;
};

// Compares the picture's place on the dialog with the title's shape: a letter pixel must be
// the letters' blue, every other pixel the dialog's own background.
PictureCheck CheckPicture(HWND dialog, const TitleShape& shape, bool lettersExpected)
{
    PictureCheck check;
    const bench::Capture capture = bench::Capture::Client(dialog);
    if (!capture.Valid() || capture.Width() < PICTURE_X + PICTURE_WIDTH ||
        capture.Height() < PICTURE_Y + PICTURE_HEIGHT)
    {
        check.wrongPixels = -1;
        check.firstWrong = "no capture of the picture's place";
        return check;
    }
    const COLORREF background = DialogBackground(capture);
    const std::vector<RECT> covered = OpaqueChildRects(dialog);
    for (int y = 0; y < PICTURE_HEIGHT; ++y)
    {
        for (int x = 0; x < PICTURE_WIDTH; ++x)
        {
            const int dx = PICTURE_X + x;
            const int dy = PICTURE_Y + y;
            if (bench::InsideAny(covered, dx, dy))
            {
                continue;
            }
            const bool letter = lettersExpected && shape.At(x, y);
            const COLORREF expected = letter ? LETTER_BLUE : background;
            const COLORREF seen = capture.At(dx, dy);
            (letter ? check.lettersSeen : check.groundSeen) += seen == expected ? 1 : 0;
            if (seen != expected)
            {
                if (check.wrongPixels == 0)
                {
                    char text[96];
                    std::snprintf(text, sizeof text, "(%d, %d) shows COLORREF 0x%06lx, not 0x%06lx", dx, dy,
                                  static_cast<unsigned long>(seen), static_cast<unsigned long>(expected));
                    check.firstWrong = text;
                }
                ++check.wrongPixels;
            }
        }
    }
    return check;
}

// Waits for the picture to be painted as expected, then reports what is there.
PictureCheck WaitForPicture(HWND dialog, const TitleShape& shape, bool lettersExpected)
{
    PictureCheck last;
    bench::WaitUntil(
        [&]
        {
            last = CheckPicture(dialog, shape, lettersExpected);
            return last.wrongPixels == 0;
        },
        5000);
    return last;
}

using bench::CountGdiObjects;
using bench::GdiCount;

class AboutDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        main = ui.WaitMainWindow();
        ASSERT_NE(main, nullptr);
    }

    UiSession ui;
    HWND main = nullptr;
};

TEST(AboutTitleBitmaps, PictureAndMaskAreTheTitleInBlueOnBlackAndBlackOnWhite)
{
    const StoredBitmap picture = FindStoredBitmap(IDB_TITLE);
    const StoredBitmap mask = FindStoredBitmap(IDB_TITLEMASK);
    ASSERT_NE(picture.header, nullptr);
    ASSERT_NE(mask.header, nullptr);
    for (const StoredBitmap* bitmap : {&picture, &mask})
    {
        EXPECT_EQ(bitmap->header->biWidth, PICTURE_WIDTH);
        EXPECT_EQ(bitmap->header->biHeight, PICTURE_HEIGHT);
        EXPECT_EQ(bitmap->header->biBitCount, 24);
        EXPECT_EQ(bitmap->header->biCompression, static_cast<DWORD>(BI_RGB));
    }
    if (HasFailure())
    {
        return;
    }
    int letters = 0;
    int mismatches = 0;
    for (int y = 0; y < PICTURE_HEIGHT; ++y)
    {
        for (int x = 0; x < PICTURE_WIDTH; ++x)
        {
            const COLORREF inPicture = picture.At(x, y);
            const COLORREF inMask = mask.At(x, y);
            // Only pure pairs combine cleanly: blue over a black hole, black ground over white.
            const bool letter = inPicture == LETTER_BLUE && inMask == RGB(0, 0, 0);
            const bool ground = inPicture == RGB(0, 0, 0) && inMask == RGB(255, 255, 255);
            letters += letter ? 1 : 0;
            mismatches += letter || ground ? 0 : 1;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Three lines of lettering cover a good part of the picture, but far from all of it.
    EXPECT_GT(letters, PICTURE_WIDTH * PICTURE_HEIGHT / 20);
    EXPECT_LT(letters, PICTURE_WIDTH * PICTURE_HEIGHT / 2);
}

TitleShape ShapeFromResources()
{
    TitleShape shape;
    const StoredBitmap mask = FindStoredBitmap(IDB_TITLEMASK);
    if (mask.header == nullptr)
    {
        return shape;
    }
    for (int y = 0; y < PICTURE_HEIGHT; ++y)
    {
        for (int x = 0; x < PICTURE_WIDTH; ++x)
        {
            shape.letter[static_cast<size_t>(y * PICTURE_WIDTH + x)] = mask.At(x, y) == RGB(0, 0, 0);
        }
    }
    return shape;
}

TEST_F(AboutDialogTest, DrawsBlueTitleLettersOnTheDialogBackgroundEachTimeItOpens)
{
    const TitleShape shape = ShapeFromResources();
    ASSERT_GT(shape.LetterCount(), 0);
    for (int opening = 1; opening <= 3; ++opening)
    {
        SCOPED_TRACE(opening);
        const HWND about = OpenAbout(ui);
        ASSERT_NE(about, nullptr);
        const PictureCheck check = WaitForPicture(about, shape, true);
        EXPECT_EQ(check.wrongPixels, 0) << check.firstWrong;
        // Most of the lettering and its surroundings lie clear of the texts below it.
        EXPECT_GT(check.lettersSeen, shape.LetterCount() * 9 / 10);
        EXPECT_GT(check.groundSeen, PICTURE_WIDTH * PICTURE_HEIGHT / 2);
        const bench::Capture capture = bench::Capture::Client(about);
        ASSERT_TRUE(capture.Valid());
        EXPECT_NE(DialogBackground(capture), RGB(0, 0, 0)) << "black would hide a missing mask step";

        ASSERT_TRUE(ui.Click(about, IDOK));
        ASSERT_TRUE(ui.WaitGone(about));
    }
}

// Opens the box, waits until it has painted and closes it, by OK and Enter in turn.
void OpenPaintAndClose(UiSession& ui, int times)
{
    for (int opening = 0; opening < times; ++opening)
    {
        SCOPED_TRACE(opening);
        const HWND about = OpenAbout(ui);
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(bench::WaitPainted(about));
        if (opening % 2 == 0)
        {
            ASSERT_TRUE(ui.Click(about, IDOK));
        }
        else
        {
            ui.PressKey(about, VK_RETURN);
        }
        ASSERT_TRUE(ui.WaitGone(about));
    }
}

TEST_F(AboutDialogTest, HundredOpeningsLeaveTheGdiObjectCountWhereItWas)
{
    // The count must see a leak at all, or an unchanged count would prove nothing.
    const GdiCount beforeProbe = CountGdiObjects();
    HBITMAP probes[5];
    for (HBITMAP& probe : probes)
    {
        probe = CreateBitmap(4, 4, 1, 1, nullptr);
    }
    EXPECT_EQ(CountGdiObjects().owned, beforeProbe.owned + 5);
    for (HBITMAP probe : probes)
    {
        DeleteObject(probe);
    }

    // The first openings fill the platform's caches (measured: 18 to 22 objects more after
    // the first few), so counting starts after ten.
    ASSERT_NO_FATAL_FAILURE(OpenPaintAndClose(ui, 10));
    ASSERT_TRUE(ui.Sync());
    const GdiCount before = CountGdiObjects();
    ASSERT_NO_FATAL_FAILURE(OpenPaintAndClose(ui, 100));
    ASSERT_TRUE(ui.Sync());
    const GdiCount after = CountGdiObjects();
    EXPECT_EQ(after.owned, before.owned);
    // A device context kept by each opening would add a hundred; the cache adds a few at most.
    EXPECT_LT(after.windowCache - before.windowCache, 20);
}

// The About box from a module that holds its template but not its bitmaps.
struct BareAboutBox
{
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    const DLGTEMPLATE* dialogTemplate = nullptr;
    HINSTANCE module = nullptr;
    INT_PTR result = 0;

    static DWORD WINAPI Run(void* self)
    {
        auto* box = static_cast<BareAboutBox*>(self);
        box->result = DialogBoxIndirectParamA(box->module, box->dialogTemplate, nullptr, AboutDialogProc, 0);
        return 0;
    }

    HWND Find() const
    {
        const HWND found = bench::FindDialog(bench::ThreadWindows(threadId), "About");
        return found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }
};

TEST(AboutDialogWithoutBitmaps, StillOpensAndClosesNormally)
{
    const HMODULE program = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(IDD_ABOUT), MAKEINTRESOURCEA(5)); // RT_DIALOG
    ASSERT_NE(found, nullptr);
    BareAboutBox box;
    box.dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(program, found)));
    // A module of the platform's: no bitmap 2001 or 2002 in it.
    box.module = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(box.module, nullptr);
    ASSERT_EQ(FindResourceA(box.module, MAKEINTRESOURCEA(IDB_TITLE), MAKEINTRESOURCEA(2)), nullptr);
    ASSERT_EQ(FindResourceA(box.module, MAKEINTRESOURCEA(IDB_TITLEMASK), MAKEINTRESOURCEA(2)), nullptr);

    box.thread = CreateThread(nullptr, 0, BareAboutBox::Run, &box, 0, &box.threadId);
    ASSERT_NE(box.thread, nullptr);
    HWND about = nullptr;
    const bool opened = bench::WaitUntil([&] { return (about = box.Find()) != nullptr; });
    if (opened)
    {
        // Nothing is drawn in the picture's place: the dialog's background only.
        const PictureCheck check = WaitForPicture(about, TitleShape{}, false);
        EXPECT_EQ(check.wrongPixels, 0) << check.firstWrong;
        PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
    }
    const bool ended = WaitForSingleObject(box.thread, bench::DEFAULT_TIMEOUT_MS) == WAIT_OBJECT_0;
    if (!ended && about != nullptr)
    {
        EndDialog(about, 0);
        WaitForSingleObject(box.thread, bench::DEFAULT_TIMEOUT_MS);
    }
    CloseHandle(box.thread);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(ended);
    // Cancel was ignored; OK ended it with its result.
    EXPECT_EQ(box.result, 1);
}

// Help hands the help file to the platform's viewer and goes on at once. The viewer and what
// it makes of the file are the help file's own business: here the call is recorded in place
// of starting it.
TEST_F(AboutDialogTest, HelpAsksForTheHelpFilesContentsOnceAndTheProgramGoesOn)
{
    bench::ScratchFolder folder{bench::ScratchFolder::Current::MAKE};
    ASSERT_TRUE(
        bench::WriteColonyFile("coldata.dat", {{"Velquin Prime", 1500, 800, 300}, {"Ashgar", 1000, 600, 0}}));
    ASSERT_TRUE(ui.ChooseMenu(IDM_LOADDATA));
    ASSERT_TRUE(ui.Sync());
    const std::vector<std::string> linesBefore = bench::ListLines(main, IDC_COLONYLIST);
    ASSERT_EQ(linesBefore, (std::vector<std::string>{"Velquin Prime", "Ashgar"}));
    const std::string statusBefore = bench::ItemText(main, IDC_STATUSBAR);

    WinHelpRecorder help;
    ASSERT_TRUE(help.IsActive()) << "the program imports no WinHelpA";
    ASSERT_TRUE(ui.ChooseMenu(IDM_HELP));
    ASSERT_TRUE(ui.Sync());
    const std::vector<WinHelpRecorder::Call> calls = help.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, main);
    EXPECT_EQ(calls[0].file, "help.hlp");
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_CONTENTS));
    EXPECT_EQ(calls[0].data, 0u);

    EXPECT_EQ(bench::WindowText(main), "Kolvarn's Zerak Resources Calculator")
        << "the window does not answer";
    EXPECT_TRUE(ui.NoMessageBox());
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(bench::ListLines(main, IDC_COLONYLIST), linesBefore);
    EXPECT_EQ(bench::ItemText(main, IDC_STATUSBAR), statusBefore);
    EXPECT_TRUE(bench::IsMenuItemEnabled(main, IDM_HELP));
    const HWND about = OpenAbout(ui);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(ui.Click(about, IDOK));
    EXPECT_TRUE(ui.WaitGone(about));
    EXPECT_EQ(help.Calls().size(), 1u) << "About asked for help";
}

} // namespace
