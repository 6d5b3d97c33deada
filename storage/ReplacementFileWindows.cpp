#include "storage/ReplacementFile.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace
{

// WriteFile takes a 32-bit count; a gigabyte at a time stays well inside it.
constexpr DWORD MOST_BYTES_PER_WRITE = 0x40000000u;

HANDLE AsHandle(std::intptr_t file)
{
    return reinterpret_cast<HANDLE>(file);
}

} // namespace

unsigned long CReplacementFile::ProcessId()
{
    return GetCurrentProcessId();
}

void CReplacementFile::DeleteNamedFile(const std::string& name)
{
    DeleteFileA(name.c_str());
}

CReplacementFile::EOpen CReplacementFile::OpenNew(const std::string& name)
{
    HANDLE file =
        CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
    {
        m_file = reinterpret_cast<std::intptr_t>(file);
        return EOpen::Opened;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? EOpen::NameTaken : EOpen::Failed;
}

// The old file's attributes are taken over in ReplaceTarget, once they are known to allow it.
bool CReplacementFile::TakeOverPermissions()
{
    return true;
}

std::size_t CReplacementFile::WriteSome(const char* data, std::size_t size)
{
    const DWORD asked = size > MOST_BYTES_PER_WRITE ? MOST_BYTES_PER_WRITE : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(AsHandle(m_file), data, asked, &written, nullptr))
    {
        return 0;
    }
    return written;
}

bool CReplacementFile::FlushFile()
{
    return FlushFileBuffers(AsHandle(m_file)) != FALSE;
}

bool CReplacementFile::CloseFile()
{
    return CloseHandle(AsHandle(m_file)) != FALSE;
}

bool CReplacementFile::ReplaceTarget()
{
    // MoveFileExA renames within the folder in one step. Windows refuses to replace a
    // read-only file, a folder or a file another program holds open; run with full rights
    // Wine replaces a read-only file all the same, so that refusal is made here for both.
    // (ReplaceFileA is no better under Wine: it needs full paths, turns a folder of that
    // name into a stray file, and leaves an empty temporary file behind when refused.)
    const DWORD attributes = GetFileAttributesA(m_target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
    {
        if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        {
            return false;
        }
        // The new file looks like the old one: a hidden coldata.dat stays hidden.
        const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        if (kept != 0)
        {
            SetFileAttributesA(m_temporary.c_str(), kept);
        }
    }
    return MoveFileExA(m_temporary.c_str(), m_target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
