#pragma once

#include <windows.h>

// The commands that end a dialog, handled alike wherever a dialog offers the same way out.
// Both return what the dialog procedure returns for a command: every command is the dialog's.

// Done (also Enter) ends the dialog with 1. Any other command, Escape and the close box among
// them, is ignored: Done is the only way out.
INT_PTR HandleDoneCommand(HWND hDlg, WPARAM wParam);

// OK (also Enter) runs accept, which ends the dialog or leaves it open as it sees fit; Cancel
// (also Escape and the close box) ends it with 2. Any other command is ignored.
INT_PTR HandleOkCancelCommand(HWND hDlg, WPARAM wParam, void (*accept)(HWND hDlg));
