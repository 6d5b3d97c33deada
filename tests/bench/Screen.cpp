#include "bench/Screen.h"

#include <cstdio>
#include <utility>

namespace bench
{

namespace
{

constexpr DWORD POLL_INTERVAL_MS = 2;
constexpr int MESSAGE_TEXT_ID = 0xFFFF;

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

HWND MessageBoxIcon(HWND window)
{
    if (ClassName(window) != "#32770" || GetDlgItem(window, MESSAGE_TEXT_ID) == nullptr)
    {
        return nullptr;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (ClassName(child) == "Static" && (Style(child) & SS_TYPEMASK) == SS_ICON)
        {
            return child;
        }
    }
    return nullptr;
}

UINT IconKind(HWND iconStatic)
{
    const HICON shown = reinterpret_cast<HICON>(SendWithTimeout(iconStatic, STM_GETICON));
    if (shown == nullptr || !IsWindowVisible(iconStatic))
    {
        return 0;
    }
    const std::pair<LPCSTR, UINT> kinds[] = {
        {IDI_HAND, MB_ICONHAND}, {IDI_EXCLAMATION, MB_ICONEXCLAMATION}, {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& kind : kinds)
    {
        if (shown == LoadIconA(nullptr, kind.first))
        {
            return kind.second;
        }
    }
    return 0;
}

std::vector<std::string> Lines(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage)
{
    std::vector<std::string> lines;
    if (control == nullptr)
    {
        return lines;
    }
    const LRESULT count = SendWithTimeout(control, countMessage);
    for (LRESULT i = 0; i < count; ++i)
    {
        const LRESULT length = SendWithTimeout(control, lengthMessage, static_cast<WPARAM>(i));
        std::string line(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
        const LRESULT copied =
            SendWithTimeout(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&line[0]));
        line.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        lines.push_back(line);
    }
    return lines;
}

UINT MenuState(HWND window, int command)
{
    return GetMenuState(GetMenu(window), static_cast<UINT>(command), MF_BYCOMMAND);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;)
    {
        if (condition())
        {
            return true;
        }
        if (GetTickCount64() >= deadline)
        {
            return condition();
        }
        Sleep(POLL_INTERVAL_MS);
    }
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, DEFAULT_TIMEOUT_MS, &result) == 0)
    {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::string WindowText(HWND window)
{
    if (window == nullptr)
    {
        return "";
    }
    const LRESULT length = SendWithTimeout(window, WM_GETTEXTLENGTH);
    if (length <= 0)
    {
        return "";
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string ItemText(HWND parent, int id)
{
    return WindowText(GetDlgItem(parent, id));
}

bool HasItem(HWND parent, int id)
{
    return GetDlgItem(parent, id) != nullptr;
}

bool IsItemEnabled(HWND parent, int id)
{
    HWND item = GetDlgItem(parent, id);
    return item != nullptr && IsWindowEnabled(item);
}

std::string ClassName(HWND window)
{
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

DWORD Style(HWND window)
{
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

RECT PlaceInParent(HWND window)
{
    RECT place = {};
    GetWindowRect(window, &place);
    HWND parent = (Style(window) & WS_CHILD) != 0 ? GetParent(window) : nullptr;
    if (parent != nullptr)
    {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    }
    return place;
}

SIZE OuterSize(HWND window)
{
    RECT frame = {};
    GetWindowRect(window, &frame);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
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

std::vector<std::string> ListLines(HWND parent, int listId)
{
    return Lines(GetDlgItem(parent, listId), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

int ListSelection(HWND parent, int listId)
{
    return static_cast<int>(SendWithTimeout(GetDlgItem(parent, listId), LB_GETCURSEL));
}

std::vector<std::string> ComboLines(HWND parent, int comboId)
{
    return Lines(GetDlgItem(parent, comboId), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboSelection(HWND parent, int comboId)
{
    return static_cast<int>(SendWithTimeout(GetDlgItem(parent, comboId), CB_GETCURSEL));
}

bool IsMenuItemGrayed(HWND window, int command)
{
    const UINT state = MenuState(window, command);
    return state != static_cast<UINT>(-1) && (state & MF_GRAYED) != 0;
}

bool IsMenuItemEnabled(HWND window, int command)
{
    const UINT state = MenuState(window, command);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

std::vector<HWND> ThreadWindows(DWORD threadId)
{
    std::vector<HWND> windows;
    if (threadId != 0)
    {
        EnumThreadWindows(threadId, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    }
    return windows;
}

std::vector<HWND> VisibleTopLevelWindows()
{
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> windows;
    for (HWND window : all)
    {
        if (IsWindowVisible(window))
        {
            windows.push_back(window);
        }
    }
    return windows;
}

std::vector<HWND> ProcessWindows(DWORD processId, bool visibleOnly)
{
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> windows;
    for (HWND window : all)
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && (!visibleOnly || IsWindowVisible(window)))
        {
            windows.push_back(window);
        }
    }
    return windows;
}

HWND FindDialog(const std::vector<HWND>& windows, const std::string& caption)
{
    for (HWND window : windows)
    {
        if (ClassName(window) == "#32770" && !IsMessageBox(window) && WindowText(window) == caption)
        {
            return window;
        }
    }
    return nullptr;
}

bool IsMessageBox(HWND window)
{
    return MessageBoxIcon(window) != nullptr;
}

MessageBoxInfo ReadMessageBox(HWND window)
{
    MessageBoxInfo box;
    HWND icon = MessageBoxIcon(window);
    if (icon == nullptr)
    {
        return box;
    }
    box.window = window;
    box.caption = WindowText(window);
    box.text = ItemText(window, MESSAGE_TEXT_ID);
    box.owner = GetWindow(window, GW_OWNER);
    box.icon = IconKind(icon);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (ClassName(child) == "Button" && IsWindowVisible(child))
        {
            box.buttons.insert(GetDlgCtrlID(child));
        }
    }
    return box;
}

MessageBoxInfo FindMessageBox(const std::vector<HWND>& windows)
{
    for (HWND window : windows)
    {
        if (IsWindowVisible(window) && IsMessageBox(window))
        {
            return ReadMessageBox(window);
        }
    }
    return MessageBoxInfo{};
}

bool AnswerMessageBox(const MessageBoxInfo& box, int button, DWORD timeoutMs)
{
    if (box.window == nullptr)
    {
        return false;
    }
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.window, button)));
    return WaitUntil([&] { return !IsWindow(box.window); }, timeoutMs);
}

void PressKey(HWND target, UINT virtualKey)
{
    const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | static_cast<LPARAM>(scanCode << 16);
    const LPARAM up = down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    PostMessageA(target, WM_KEYDOWN, virtualKey, down);
    PostMessageA(target, WM_KEYUP, virtualKey, up);
}

HWND FocusedControl(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    if (GetGUIThreadInfo(threadId, &info) && info.hwndFocus != nullptr &&
        (info.hwndFocus == window || IsChild(window, info.hwndFocus)))
    {
        return info.hwndFocus;
    }
    return window;
}

void ClickAt(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT clicks[2] = {};
    clicks[0].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].type = INPUT_MOUSE;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

bool FindCloseBox(HWND window, POINT& screen)
{
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT clientTop = {0, 0};
    ClientToScreen(window, &clientTop);
    // The caption lies between the window's top edge and the client area (menu included);
    // walk it from the right until the window names a point as its close box.
    for (int y = frame.top + 1; y < clientTop.y; y += 2)
    {
        for (int x = frame.right - 1; x > frame.right - 80 && x > frame.left; x -= 2)
        {
            if (SendWithTimeout(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
            {
                // Aim at the middle of the box rather than at its edge.
                screen = POINT{x - 4, y + 4};
                if (SendWithTimeout(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) != HTCLOSE)
                {
                    screen = POINT{x, y};
                }
                return true;
            }
        }
    }
    return false;
}

bool NothingLeftToPaint(HWND window)
{
    if (GetUpdateRect(window, nullptr, FALSE))
    {
        return false;
    }
    bool pending = false;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM found) -> BOOL
        {
            if (GetUpdateRect(child, nullptr, FALSE))
            {
                *reinterpret_cast<bool*>(found) = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

bool WaitPainted(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return NothingLeftToPaint(window); }, timeoutMs);
}

// --- Capture ---

Capture Capture::FromDc(HDC source, int x, int y, int width, int height)
{
    Capture capture;
    if (source == nullptr || width <= 0 || height <= 0)
    {
        return capture;
    }
    const HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib != nullptr)
    {
        const HGDIOBJ previous = SelectObject(memory, dib);
        if (BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY))
        {
            GdiFlush();
            const auto* words = static_cast<const std::uint32_t*>(bits);
            capture.m_width = width;
            capture.m_height = height;
            capture.m_pixels.assign(words, words + static_cast<std::size_t>(width) *
                                                       static_cast<std::size_t>(height));
        }
        SelectObject(memory, previous);
        DeleteObject(dib);
    }
    DeleteDC(memory);
    return capture;
}

Capture Capture::Client(HWND window)
{
    RECT area{};
    GetClientRect(window, &area);
    const HDC source = GetDC(window);
    Capture capture = FromDc(source, 0, 0, area.right, area.bottom);
    ReleaseDC(window, source);
    return capture;
}

Capture Capture::WholeWindow(HWND window)
{
    RECT area{};
    GetWindowRect(window, &area);
    const HDC source = GetWindowDC(window);
    Capture capture = FromDc(source, 0, 0, area.right - area.left, area.bottom - area.top);
    ReleaseDC(window, source);
    return capture;
}

Capture Capture::Screen(const RECT& area)
{
    const HDC source = GetDC(nullptr);
    Capture capture = FromDc(source, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, source);
    return capture;
}

Capture Capture::Drawn(int width, int height, const std::function<void(HDC)>& draw)
{
    Capture capture;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (bitmap != nullptr)
    {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        const RECT all{0, 0, width, height};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        draw(memory);
        capture = FromDc(memory, 0, 0, width, height);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    return capture;
}

COLORREF Capture::At(int x, int y) const
{
    const std::uint32_t word = m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                                        static_cast<std::size_t>(x)];
    return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

Capture Capture::Part(const RECT& area) const
{
    Capture part;
    RECT inside{};
    const RECT whole{0, 0, m_width, m_height};
    if (!IntersectRect(&inside, &whole, &area))
    {
        return part;
    }
    part.m_width = inside.right - inside.left;
    part.m_height = inside.bottom - inside.top;
    part.m_pixels.reserve(static_cast<std::size_t>(part.m_width) * static_cast<std::size_t>(part.m_height));
    for (int y = inside.top; y < inside.bottom; ++y)
    {
        const auto row = m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * m_width;
        part.m_pixels.insert(part.m_pixels.end(), row + inside.left, row + inside.right);
    }
    return part;
}

bool Capture::SaveBmp(const std::string& path) const
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
            std::uint8_t* pixel = &rows[static_cast<std::size_t>((m_height - 1 - y) * stride + x * 3)];
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

} // namespace bench
