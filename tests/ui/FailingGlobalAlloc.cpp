#include "FailingGlobalAlloc.h"

namespace
{

volatile LONG g_refused = 0;

HGLOBAL WINAPI RefuseGlobalAlloc(UINT, SIZE_T)
{
    InterlockedIncrement(&g_refused);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// The count starts afresh before the entry is swapped, so no refusal of an earlier
// instance is counted.
void* StartCounting()
{
    g_refused = 0;
    return reinterpret_cast<void*>(&RefuseGlobalAlloc);
}

} // namespace

FailingGlobalAlloc::FailingGlobalAlloc() : m_swap("kernel32.dll", "GlobalAlloc", StartCounting()) {}

LONG FailingGlobalAlloc::RefusedCount() const
{
    return g_refused;
}
