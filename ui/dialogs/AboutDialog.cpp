#include "ui/dialogs/AboutDialog.h"

#include "res/resource.h"
#include "ui/dialogs/DialogCommands.h"

namespace
{
// Loaded afresh each time the box opens and released when it ends, so that opening it again
// and again costs no GDI objects.
HBITMAP g_titlePicture = nullptr;
HBITMAP g_titleMask = nullptr;

void ReleaseTitleBitmaps()
{
    if (g_titlePicture != nullptr)
    {
        DeleteObject(g_titlePicture);
        g_titlePicture = nullptr;
    }
    if (g_titleMask != nullptr)
    {
        DeleteObject(g_titleMask);
        g_titleMask = nullptr;
    }
}

void LoadTitleBitmaps(HWND hDlg)
{
    ReleaseTitleBitmaps();
    // The module the template came from is the one that holds the bitmaps beside it.
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hDlg, GWLP_HINSTANCE));
    g_titlePicture = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_TITLE));
    g_titleMask = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_TITLEMASK));
}

void BlitBitmap(HDC target, HDC source, HBITMAP bitmap, DWORD rop)
{
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0)
    {
        return;
    }
    const HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(target, 30, 20, info.bmWidth, info.bmHeight, source, 0, 0, rop);
    SelectObject(source, previous);
}

// The mask's AND blackens the letters' shapes, the picture's OR fills them with blue; the
// ground of both leaves the dialog's own colour. Without both bitmaps nothing is drawn, since
// either alone would leave black or washed-out letters.
void PaintTitle(HWND hDlg)
{
    PAINTSTRUCT paint;
    const HDC dialogDc = BeginPaint(hDlg, &paint);
    if (g_titlePicture != nullptr && g_titleMask != nullptr)
    {
        const HDC memoryDc = CreateCompatibleDC(dialogDc);
        if (memoryDc != nullptr)
        {
            BlitBitmap(dialogDc, memoryDc, g_titleMask, SRCAND);
            BlitBitmap(dialogDc, memoryDc, g_titlePicture, SRCPAINT);
            DeleteDC(memoryDc);
        }
    }
    EndPaint(hDlg, &paint);
}
} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
        case WM_INITDIALOG:
            LoadTitleBitmaps(hDlg);
            return TRUE;
        case WM_COMMAND:
            // Escape and the close box arrive as IDCANCEL: only OK closes the box.
            return HandleDoneCommand(hDlg, wParam);
        case WM_PAINT:
            PaintTitle(hDlg);
            return TRUE;
        case WM_DESTROY:
            // Whatever ended the dialog, the bitmaps go with it.
            ReleaseTitleBitmaps();
            return FALSE;
        default:
            return FALSE;
    }
}
