#pragma once

#include "bench/ImportSwap.h"

#include <windows.h>

// While an instance lives, every GlobalAlloc made by this program's own code fails, as it
// would when memory runs out. It swaps the program's import entry for GlobalAlloc, so
// Windows' own DLLs keep allocating normally.
class FailingGlobalAlloc
{
public:
    FailingGlobalAlloc();
    FailingGlobalAlloc(const FailingGlobalAlloc&) = delete;
    FailingGlobalAlloc& operator=(const FailingGlobalAlloc&) = delete;

    // False when the import entry was not found; the fault is then not in force.
    bool IsActive() const { return m_swap.IsActive(); }
    // How many allocations were refused so far.
    LONG RefusedCount() const;

private:
    bench::ImportSwap m_swap;
};
