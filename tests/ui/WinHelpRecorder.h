#pragma once

#include "bench/ImportSwap.h"

#include <windows.h>

#include <string>
#include <vector>

// While an instance lives, the program's own WinHelpA calls are written down and answered as
// a successful request, and no help viewer is started.
class WinHelpRecorder
{
public:
    struct Call
    {
        HWND owner;
        std::string file;
        UINT command;
        ULONG_PTR data;
    };

    WinHelpRecorder();
    ~WinHelpRecorder();
    WinHelpRecorder(const WinHelpRecorder&) = delete;
    WinHelpRecorder& operator=(const WinHelpRecorder&) = delete;

    // False when the program imports no WinHelpA; nothing is then recorded.
    bool IsActive() const { return m_swap.IsActive(); }
    // The calls so far, in order; safe to read while the program's thread runs.
    std::vector<Call> Calls() const;

private:
    bench::ImportSwap m_swap;
};
