// The yardstick for start-up: the least a Win32 program does to show one empty window of the
// main window's size and style, painted, and then wait in its message loop.
//
// Built with WITH_CHILDREN it also makes the thirteen child windows that the main window must
// have (the common controls' status bar, the list box, five buttons, six static controls) with
// their classes, styles and places, but with no text, picture or menu: the least that any
// program showing that window pays, which tells ZerakCalc's own cost from the platform's.
#include <windows.h>
#ifdef WITH_CHILDREN
#include <commctrl.h>
#endif

namespace
{

const char* const BARE_WINDOW_CLASS = "Bare Window";

#ifdef WITH_CHILDREN
void CreateChildren(HWND window)
{
    const DWORD CHILD = WS_CHILD | WS_VISIBLE;
    InitCommonControls();
    CreateStatusWindowA(CHILD, "", window, 3001);
    CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", CHILD | WS_VSCROLL | LBS_NOTIFY, 7, 7, 240, 160, window,
                    nullptr, nullptr, nullptr);
    for (int button = 0; button < 5; ++button)
        CreateWindowExA(WS_EX_WINDOWEDGE, "BUTTON", "", CHILD | BS_ICON, 7 + 50 * button, 170, 40, 40, window,
                        nullptr, nullptr, nullptr);
    // Each resource's label, then its sunken value field.
    const int STATIC_TOPS[] = {7, 30, 57, 80, 107, 130};
    for (int row = 0; row < 6; ++row)
        CreateWindowExA(WS_EX_WINDOWEDGE, "STATIC", "", CHILD | (row % 2 ? SS_SUNKEN : 0), 255,
                        STATIC_TOPS[row], 170, 20, window, nullptr, nullptr, nullptr);
}
#endif

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
#ifdef WITH_CHILDREN
        case WM_CREATE:
            CreateChildren(window);
            return 0;
#endif
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = BARE_WINDOW_CLASS;
    if (RegisterClassExA(&windowClass) == 0)
        return 1;
    HWND window = CreateWindowExA(0, BARE_WINDOW_CLASS, "Bare window",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 450, 300, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
