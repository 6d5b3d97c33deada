#include "storage/ReplacementFile.h"

#include <string>
#include <utility>

CReplacementFile::CReplacementFile(std::string target)
    : m_target(std::move(target)), m_file(NO_FILE), m_open(false)
{
}

CReplacementFile::~CReplacementFile()
{
    CloseQuietly();
    RemoveTemporary();
}

bool CReplacementFile::Create()
{
    for (unsigned attempt = 0; attempt < NAME_ATTEMPTS; ++attempt)
    {
        std::string name = TemporaryName(attempt);
        switch (OpenNew(name))
        {
            case EOpen::Opened:
                m_open = true;
                m_temporary = std::move(name);
                return TakeOverPermissions();
            case EOpen::NameTaken:
                break;
            case EOpen::Failed:
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
    // A nearly full volume can accept part of a write and still report success.
    const char* next = static_cast<const char*>(data);
    while (size > 0)
    {
        const std::size_t written = WriteSome(next, size);
        if (written == 0)
        {
            return false;
        }
        next += written;
        size -= written;
    }
    return true;
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

// A second save from this process, or a save from another copy of the program in the same
// folder, must never pick a name that is in use.
std::string CReplacementFile::TemporaryName(unsigned attempt) const
{
    static unsigned s_serial = 0;
    const unsigned long process = ProcessId();
    return m_target + "." + std::to_string(process) + "-" + std::to_string(s_serial++) + "-" +
           std::to_string(attempt) + ".tmp";
}

bool CReplacementFile::Close()
{
    const bool closed = CloseFile();
    m_open = false;
    m_file = NO_FILE;
    return closed;
}

bool CReplacementFile::FlushAndClose()
{
    const bool flushed = FlushFile();
    const bool closed = Close();
    return flushed && closed;
}

void CReplacementFile::CloseQuietly()
{
    if (m_open)
    {
        Close();
    }
}

void CReplacementFile::RemoveTemporary()
{
    if (!m_temporary.empty())
    {
        DeleteNamedFile(m_temporary);
    }
    m_temporary.clear();
}
