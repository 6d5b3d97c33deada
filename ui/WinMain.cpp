#include "ui/MainWindow.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    return RunMainWindow(hInstance, nCmdShow);
}
