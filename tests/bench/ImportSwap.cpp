#include "bench/ImportSwap.h"

#include <cstring>

namespace bench
{

namespace
{

template <typename T> T* AtOffset(BYTE* base, DWORD offset)
{
    return reinterpret_cast<T*>(base + offset);
}

void** FindImportEntry(const char* dll, const char* function)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = AtOffset<IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
    {
        return nullptr;
    }
    for (auto* descriptor = AtOffset<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor)
    {
        if (_stricmp(AtOffset<char>(base, descriptor->Name), dll) != 0 || descriptor->OriginalFirstThunk == 0)
        {
            continue;
        }
        auto* names = AtOffset<IMAGE_THUNK_DATA>(base, descriptor->OriginalFirstThunk);
        auto* entries = AtOffset<IMAGE_THUNK_DATA>(base, descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++entries)
        {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
            {
                continue;
            }
            const auto* byName =
                AtOffset<IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
            {
                return reinterpret_cast<void**>(&entries->u1.Function);
            }
        }
    }
    return nullptr;
}

// The import table lies in a read-only page once the loader has filled it in.
void WriteEntry(void** entry, void* value)
{
    DWORD protection = 0;
    VirtualProtect(entry, sizeof(void*), PAGE_READWRITE, &protection);
    InterlockedExchangePointer(entry, value);
    VirtualProtect(entry, sizeof(void*), protection, &protection);
}

} // namespace

ImportSwap::ImportSwap(const char* dll, const char* function, void* replacement)
    : m_entry(FindImportEntry(dll, function)), m_original(nullptr)
{
    if (m_entry != nullptr)
    {
        m_original = *m_entry;
        WriteEntry(m_entry, replacement);
    }
}

ImportSwap::~ImportSwap()
{
    if (m_entry != nullptr)
    {
        WriteEntry(m_entry, m_original);
    }
}

} // namespace bench
