#include "storage/ReplacementFile.h"

#include <string>
#include <utility>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// A second save from this process, or a save from another copy of the program in the same
// folder, must never pick a name that is in use.
std::string TemporaryName(const std::string& target, unsigned attempt)
{
    static unsigned s_serial = 0;
#ifdef _WIN32
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    return target + "." + std::to_string(process) + "-" + std::to_string(s_serial++) + "-" +
           std::to_string(attempt) + ".tmp";
}

constexpr unsigned kNameAttempts = 100;

} // namespace

CReplacementFile::CReplacementFile(std::string target)
    : m_target(std::move(target)),
#ifdef _WIN32
      m_handle(nullptr),
#else
      m_descriptor(-1),
#endif
      m_open(false)
{
}

CReplacementFile::~CReplacementFile()
{
    CloseQuietly();
    RemoveTemporary();
}

CReplacementFile::EResult CReplacementFile::Commit()
{
    if (!m_open)
    {
        return EResult::CannotCreate;
    }
    if (!FlushAndClose())
    {
        RemoveTemporary();
        return EResult::CannotWrite;
    }
    if (!ReplaceTarget())
    {
        RemoveTemporary();
        return EResult::CannotCreate;
    }
    m_temporary.clear();
    return EResult::Done;
}

#ifdef _WIN32

bool CReplacementFile::Create()
{
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt)
    {
        std::string name = TemporaryName(m_target, attempt);
        HANDLE file =
            CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            m_handle = file;
            m_open = true;
            m_temporary = std::move(name);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
        {
            return false;
        }
    }
    return false;
}

bool CReplacementFile::Write(const void* data, std::size_t size)
{
    if (!m_open)
    {
        return false;
    }
    const char* next = static_cast<const char*>(data);
    while (size > 0)
    {
        const DWORD asked = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        // A nearly full volume can accept part of a write and still report success.
        if (!WriteFile(m_handle, next, asked, &written, nullptr) || written == 0)
        {
            return false;
        }
        next += written;
        size -= written;
    }
    return true;
}

bool CReplacementFile::FlushAndClose()
{
    const bool flushed = FlushFileBuffers(m_handle) != FALSE;
    const bool closed = CloseHandle(m_handle) != FALSE;
    m_open = false;
    m_handle = nullptr;
    return flushed && closed;
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

void CReplacementFile::CloseQuietly()
{
    if (m_open)
    {
        CloseHandle(m_handle);
        m_open = false;
        m_handle = nullptr;
    }
}

void CReplacementFile::RemoveTemporary()
{
    if (!m_temporary.empty())
    {
        DeleteFileA(m_temporary.c_str());
    }
    m_temporary.clear();
}

#else

bool CReplacementFile::Create()
{
    // The new file takes over the old one's permissions.
    mode_t mode = 0666;
    struct stat old;
    if (stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    {
        mode = old.st_mode & 07777;
    }
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt)
    {
        std::string name = TemporaryName(m_target, attempt);
        const int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (file >= 0)
        {
            m_descriptor = file;
            m_open = true;
            m_temporary = std::move(name);
            if (fchmod(file, mode) != 0)
            {
                return false;
            }
            return true;
        }
        if (errno != EEXIST)
        {
            return false;
        }
    }
    return false;
}

bool CReplacementFile::Write(const void* data, std::size_t size)
{
    if (!m_open)
    {
        return false;
    }
    const char* next = static_cast<const char*>(data);
    while (size > 0)
    {
        const ssize_t written = write(m_descriptor, next, size);
        if (written < 0 && errno == EINTR)
        {
            continue;
        }
        if (written <= 0)
        {
            return false;
        }
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CReplacementFile::FlushAndClose()
{
    const bool flushed = fsync(m_descriptor) == 0;
    const bool closed = close(m_descriptor) == 0;
    m_open = false;
    m_descriptor = -1;
    return flushed && closed;
}

bool CReplacementFile::ReplaceTarget()
{
    // rename() would replace a file nobody may write to; Windows refuses a read-only file,
    // and so does this program everywhere.
    struct stat old;
    if (stat(m_target.c_str(), &old) == 0 && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0))
    {
        return false;
    }
    if (rename(m_temporary.c_str(), m_target.c_str()) != 0)
    {
        return false;
    }
    // Make the new name itself last; the data are already on the device.
    const std::string::size_type slash = m_target.rfind('/');
    const std::string folderName = slash == std::string::npos ? "." : m_target.substr(0, slash + 1);
    const int folder = open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0)
    {
        fsync(folder);
        close(folder);
    }
    return true;
}

void CReplacementFile::CloseQuietly()
{
    if (m_open)
    {
        close(m_descriptor);
        m_open = false;
        m_descriptor = -1;
    }
}

void CReplacementFile::RemoveTemporary()
{
    if (!m_temporary.empty())
    {
        unlink(m_temporary.c_str());
    }
    m_temporary.clear();
}

#endif
