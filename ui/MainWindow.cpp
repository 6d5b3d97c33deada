#include "ui/MainWindow.h"

#include "res/resource.h"

const char* const MAIN_WINDOW_CLASS = "Velquin Window";
const char* const MAIN_WINDOW_TITLE = "Kolvarn's Zerak Resources Calculator";

LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

int RunMainWindow(HINSTANCE hInstance, int nCmdShow)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_APPLICATION_GLOBE));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_APPLICATION_GLOBE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));

    if (RegisterClassExA(&windowClass) == 0)
    {
        MessageBoxA(nullptr, "Window class registration failed!", "Error", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    HWND window = CreateWindowExA(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 450, 300, nullptr, nullptr, hInstance, nullptr);
    if (window == nullptr)
    {
        MessageBoxA(nullptr, "Window creation failed!", "Error", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    ShowWindow(window, nCmdShow);
    UpdateWindow(window);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
