#include "storage/ReplacementFile.h"

#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

namespace
{

// WriteFile takes a 32-bit count; a gigabyte at a time stays well inside it.
constexpr DWORD MOST_BYTES_PER_WRITE = 0x40000000u;
// Backup tools, sync clients and virus scanners hold a file open for a moment; a save waits
// that long for them before it gives up.
constexpr ULONGLONG BUSY_TARGET_RETRY_MS = 1500;
constexpr DWORD BUSY_TARGET_PAUSE_MS = 50;
const char LONG_PATH_PREFIX[] = "\\\\?\\";

// "\\?\C:\folder\file" as "C:\folder\file"; other forms stay as they are.
std::string WithoutLongPathPrefix(const std::string& path)
{
    const std::size_t prefix = sizeof LONG_PATH_PREFIX - 1;
    if (path.compare(0, prefix, LONG_PATH_PREFIX) == 0 && path.size() > prefix + 2 &&
        std::isalpha(static_cast<unsigned char>(path[prefix])) != 0 && path[prefix + 1] == ':')
    {
        return path.substr(prefix);
    }
    return path;
}

bool SamePath(const std::string& one, const std::string& other)
{
    return one.size() == other.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, one.data(), static_cast<int>(one.size()),
                          other.data(), static_cast<int>(other.size())) == CSTR_EQUAL;
}

std::string FullPathOf(const std::string& name)
{
    char path[MAX_PATH];
    const DWORD size = GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return size == 0 || size >= sizeof path ? std::string() : std::string(path, size);
}

// Another program holds the file open, for now.
bool IsBusy(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

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

// Windows shows a symbolic link's final file on an open handle; so does Wine for a Unix link.
std::string CReplacementFile::ResolvedTarget(const std::string& name)
{
    HANDLE file = CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return name;
    }
    char path[MAX_PATH + sizeof LONG_PATH_PREFIX];
    const DWORD size = GetFinalPathNameByHandleA(file, path, sizeof path, FILE_NAME_NORMALIZED);
    CloseHandle(file);
    if (size == 0 || size >= sizeof path)
    {
        return name;
    }
    const std::string final = WithoutLongPathPrefix(std::string(path, size));
    // A plain file keeps the name it was given.
    return SamePath(final, FullPathOf(name)) ? name : final;
}

std::vector<std::string> CReplacementFile::FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
    {
        return names;
    }
    do
    {
        names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A running save holds its temporary file open with read access: opening it to be removed
// with no sharing fails then. (DeleteFileA would not do: it shares with readers.)
void CReplacementFile::RemoveIfAbandoned(const std::string& name)
{
    HANDLE file = CreateFileA(name.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE)
    {
        CloseHandle(file);
    }
}

void CReplacementFile::ReleaseHold()
{
    if (m_hold != NO_FILE)
    {
        CloseHandle(AsHandle(m_hold));
        m_hold = NO_FILE;
    }
}

CReplacementFile::EOpen CReplacementFile::OpenNew(const std::string& name)
{
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? EOpen::NameTaken : EOpen::Failed;
    }
    // The hold outlives the handle written through, until the file has its final name: it
    // shares everything, so that the file can still be renamed, and reads, so that no other
    // save can open it to remove it.
    HANDLE hold =
        CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hold == INVALID_HANDLE_VALUE)
    {
        CloseHandle(file);
        DeleteFileA(name.c_str());
        return EOpen::Failed;
    }
    m_file = reinterpret_cast<std::intptr_t>(file);
    m_hold = reinterpret_cast<std::intptr_t>(hold);
    return EOpen::Opened;
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
    const ULONGLONG deadline = GetTickCount64() + BUSY_TARGET_RETRY_MS;
    for (;;)
    {
        if (MoveFileExA(m_temporary.c_str(), m_target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        {
            return true;
        }
        if (!IsBusy(GetLastError()) || GetTickCount64() >= deadline)
        {
            return false;
        }
        Sleep(BUSY_TARGET_PAUSE_MS);
    }
}
