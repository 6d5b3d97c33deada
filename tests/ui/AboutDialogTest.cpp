// The About box and Help, driven through the real main window and dialog as a user would.

#include "bench/Session.h"

#include "res/resource.h"
#include "ui/dialogs/AboutDialog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// True once the window and all its children have nothing left to paint.
bool WaitPainted(HWND window)
{
    return bench::WaitUntil(
        [&]
        {
            if (GetUpdateRect(window, nullptr, FALSE))
            {
                return false;
            }
            for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT))
            {
                if (GetUpdateRect(child, nullptr, FALSE))
                {
                    return false;
                }
            }
            return true;
        });
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

// The dialog's pixels as they are on screen, read through its own device context.
class Capture
{
public:
    Capture(HWND window, bool wholeWindow)
    {
        RECT area{};
        if (wholeWindow)
        {
            GetWindowRect(window, &area);
            OffsetRect(&area, -area.left, -area.top);
        }
        else
        {
            GetClientRect(window, &area);
        }
        m_width = area.right;
        m_height = area.bottom;
        const HDC source = wholeWindow ? GetWindowDC(window) : GetDC(window);
        const HDC memory = CreateCompatibleDC(source);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        const HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dib != nullptr)
        {
            const HGDIOBJ previous = SelectObject(memory, dib);
            BitBlt(memory, 0, 0, m_width, m_height, source, 0, 0, SRCCOPY);
            GdiFlush();
            const auto* words = static_cast<const std::uint32_t*>(bits);
            m_pixels.assign(words, words + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
            SelectObject(memory, previous);
            DeleteObject(dib);
        }
        DeleteDC(memory);
        ReleaseDC(window, source);
    }

    bool Valid() const { return !m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const
    {
        const std::uint32_t word = m_pixels[static_cast<size_t>(y * m_width + x)];
        return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
    }

    // As a 24-bit .bmp file, for a person to look at.
    bool Save(const std::string& path) const
    {
        const int stride = (m_width * 3 + 3) & ~3;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = m_width;
        header.biHeight = m_height;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(stride * m_height);
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + header.biSizeImage;
        std::vector<std::uint8_t> rows(header.biSizeImage, 0);
        for (int y = 0; y < m_height; ++y)
        {
            for (int x = 0; x < m_width; ++x)
            {
                const COLORREF colour = At(x, y);
                std::uint8_t* pixel = &rows[static_cast<size_t>((m_height - 1 - y) * stride + x * 3)];
                pixel[0] = GetBValue(colour);
                pixel[1] = GetGValue(colour);
                pixel[2] = GetRValue(colour);
            }
        }
        FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr)
        {
            return false;
        }
        const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                             std::fwrite(&header, sizeof header, 1, out) == 1 &&
                             std::fwrite(rows.data(), rows.size(), 1, out) == 1;
        return std::fclose(out) == 0 && written;
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

// Where the dialog's own background can be seen: outside the group box's frame.
COLORREF DialogBackground(const Capture& capture)
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

bool InsideAny(const std::vector<RECT>& rects, int x, int y)
{
    const POINT point{x, y};
    for (const RECT& rect : rects)
    {
        if (PtInRect(&rect, point))
        {
            return true;
        }
    }
    return false;
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
    const Capture capture(dialog, false);
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
            if (InsideAny(covered, dx, dy))
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

// Live GDI objects of this process. Wine leaves GetGuiResources unimplemented, but it
// accepts a handle table index as a handle, so there the table is counted slot by slot.
// Window device contexts and their regions are counted apart: Wine's cache of them grows
// now and then by a pair or two, whoever paints.
struct GdiCount
{
    long owned = 0;       // everything a program creates and must release itself
    long windowCache = 0; // the platform's window device contexts and their regions
};

GdiCount CountGdiObjects()
{
    GdiCount count;
    SetLastError(0);
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
    {
        count.owned = static_cast<long>(reported);
        return count;
    }
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
    {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type == OBJ_DC || type == OBJ_REGION)
        {
            ++count.windowCache;
        }
        else if (type != 0)
        {
            ++count.owned;
        }
    }
    return count;
}

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
        const Capture capture(about, false);
        ASSERT_TRUE(capture.Valid());
        EXPECT_NE(DialogBackground(capture), RGB(0, 0, 0)) << "black would hide a missing mask step";

        const char* shots = std::getenv("ZERAK_SCREENSHOT_DIR");
        if (opening == 1 && shots != nullptr)
        {
            ASSERT_TRUE(WaitPainted(about));
            ASSERT_TRUE(ui.Sync());
            EXPECT_TRUE(Capture(about, true).Save(std::string(shots) + "\\about-dialog.bmp"));
        }
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
        ASSERT_TRUE(WaitPainted(about));
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
        HWND found = nullptr;
        EnumThreadWindows(
            threadId,
            [](HWND window, LPARAM out) -> BOOL
            {
                if (bench::WindowText(window) == "About" && IsWindowVisible(window))
                {
                    *reinterpret_cast<HWND*>(out) = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
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

// Wine's help viewer runs as a program of its own; its complaint is found from outside.
struct ViewerComplaint
{
    HWND box = nullptr;
    DWORD processId = 0;
};

ViewerComplaint FindViewerComplaint()
{
    ViewerComplaint found;
    EnumWindows(
        [](HWND window, LPARAM out) -> BOOL
        {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            if (processId != GetCurrentProcessId() && IsWindowVisible(window) &&
                bench::WindowText(window) == "ERROR")
            {
                auto* result = reinterpret_cast<ViewerComplaint*>(out);
                result->box = window;
                result->processId = processId;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Ends the viewer whatever the test saw, so that no later test meets it.
class ViewerCleanup
{
public:
    ~ViewerCleanup()
    {
        for (ViewerComplaint left = FindViewerComplaint(); left.box != nullptr; left = FindViewerComplaint())
        {
            const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, left.processId);
            if (process == nullptr)
            {
                break;
            }
            TerminateProcess(process, 1);
            WaitForSingleObject(process, bench::DEFAULT_TIMEOUT_MS);
            CloseHandle(process);
        }
    }
};

TEST_F(AboutDialogTest, HelpWithoutHelpFileShowsTheViewersComplaintAndTheProgramGoesOn)
{
    bench::ScratchFolder emptyDirectory{bench::ScratchFolder::Current::MAKE};
    ViewerCleanup cleanup;
    ASSERT_EQ(FindViewerComplaint().box, nullptr) << "a help viewer left from before";
    const std::string statusBefore = bench::ItemText(main, IDC_STATUSBAR);

    ASSERT_TRUE(ui.ChooseMenu(IDM_HELP));
    ViewerComplaint complaint;
    // The viewer is a program of its own, started cold: give it longer than a window of ours.
    ASSERT_TRUE(bench::WaitUntil([&] { return (complaint = FindViewerComplaint()).box != nullptr; }, 30000));
    EXPECT_EQ(bench::ItemText(complaint.box, 0xFFFF),
              "Cannot find 'help.hlp'. Do you want to find this file yourself?");

    // Wine's WinHelpA hands the request to the viewer with a sent message, which returns once
    // the viewer has dealt with it, complaint included; meanwhile the window still answers
    // what is sent to it.
    char title[128] = {};
    DWORD_PTR copied = 0;
    EXPECT_NE(SendMessageTimeoutA(main, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title),
                                  SMTO_NORMAL, bench::DEFAULT_TIMEOUT_MS, &copied),
              0);
    EXPECT_STREQ(title, "Kolvarn's Zerak Resources Calculator");

    // Declining to look for the file ends the viewer, and the program goes on as before.
    const HANDLE viewer = OpenProcess(SYNCHRONIZE, FALSE, complaint.processId);
    ASSERT_NE(viewer, nullptr);
    PostMessageA(complaint.box, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(WaitForSingleObject(viewer, bench::DEFAULT_TIMEOUT_MS), WAIT_OBJECT_0);
    CloseHandle(viewer);
    EXPECT_EQ(FindViewerComplaint().box, nullptr);

    ASSERT_TRUE(ui.Sync());
    EXPECT_TRUE(ui.NoMessageBox());
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(bench::ItemText(main, IDC_STATUSBAR), statusBefore);
    EXPECT_TRUE(bench::ListLines(main, IDC_COLONYLIST).empty());
    EXPECT_TRUE(bench::IsMenuItemEnabled(main, IDM_HELP));
    const HWND about = OpenAbout(ui);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(ui.Click(about, IDOK));
    EXPECT_TRUE(ui.WaitGone(about));
}

} // namespace
