#pragma once

// A seam into the program's calls to the platform: while an instance lives, the import entry
// of the running module for one function of one DLL points at a replacement. The program's
// own calls go to the replacement; the platform's DLLs, which have import entries of their
// own, keep calling the real function.

#include <windows.h>

namespace bench
{

class ImportSwap
{
public:
    ImportSwap(const char* dll, const char* function, void* replacement);
    ~ImportSwap();
    ImportSwap(const ImportSwap&) = delete;
    ImportSwap& operator=(const ImportSwap&) = delete;

    // False when the module imports no such function; the replacement is then not in force.
    bool IsActive() const { return m_entry != nullptr; }
    // The real function, for a replacement that passes some calls on.
    void* Original() const { return m_original; }

private:
    void** m_entry;
    void* m_original;
};

} // namespace bench
