#pragma once

// A dialog compared with its template: the dialog's own caption, style, size, place and
// font, and each control in template (and tab) order with its class, identifier, text,
// style and place, converted from dialog units as the dialog manager converts them.
// Reports differences as GoogleTest failures.

#include <windows.h>

#include <optional>
#include <vector>

namespace bench
{

// One control as a template writes it.
struct TemplateControl
{
    int id; // -1 for a control the dialog never addresses
    const char* className;
    const char* text; // null: not compared, as the dialog replaces it when it opens
    DWORD style;      // beyond WS_CHILD and WS_VISIBLE, which every control has
    int x;            // dialog units
    int y;
    int width;
    int height;
};

struct DialogTemplate
{
    const char* caption;
    DWORD style;
    int width; // dialog units
    int height;
    const char* fontName;
    int fontPoints;
    // Where the client area opens in the owner's client area, in dialog units; not compared
    // when absent.
    std::optional<POINT> place;
    // The control that has the focus once the dialog is active; 0: not compared.
    int focus;
    std::vector<TemplateControl> controls;
};

// Compares the open dialog with the template. Waits for the focus when one is given.
void ExpectTemplate(HWND dialog, const DialogTemplate& expected);

// A list box without LBS_NOINTEGRALHEIGHT takes away, while it is created, the part of its
// client height that is not a whole number of lines. It measures its lines then in the
// system font (the dialog or window gives it its own font only afterwards), so it ends up
// less than one system-font line short of the height asked for, and never taller.
bool ListBoxHeightFits(LONG shown, LONG asked);

} // namespace bench
