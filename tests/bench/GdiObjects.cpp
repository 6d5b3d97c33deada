#include "bench/GdiObjects.h"

#include <windows.h>

namespace bench
{

namespace
{

// Wine's GDI handles are indices into a table of this many slots.
constexpr ULONG_PTR GDI_HANDLE_SLOTS = 0x10000;

} // namespace

// Wine leaves GetGuiResources unimplemented, but it accepts a handle table index as a handle,
// so there the table is counted slot by slot.
GdiCount CountGdiObjects()
{
    GdiCount count;
    SetLastError(0);
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
    {
        count.owned = static_cast<long>(reported);
        return count;
    }
    for (ULONG_PTR index = 1; index < GDI_HANDLE_SLOTS; ++index)
    {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type == OBJ_DC || type == OBJ_REGION)
        {
            ++count.windowCache;
        }
        else if (type != 0)
        {
            ++count.owned;
        }
    }
    return count;
}

} // namespace bench
