#pragma once

#include <windows.h>

// The wait cursor for as long as it lives, so that the window does not look dead while a
// large list is loaded, saved or listed; the cursor before it comes back at the end.
class CWaitCursor
{
public:
    CWaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
