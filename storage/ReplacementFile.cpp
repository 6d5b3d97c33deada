#include "storage/ReplacementFile.h"

#include <cctype>
#include <string>
#include <utility>

namespace
{

const char TEMPORARY_SUFFIX[] = ".tmp";

// Where the folder part of a path ends: after its last separator, or 0 for a bare name.
std::string::size_type NameStart(const std::string& path)
{
    const std::string::size_type separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

// "<digits>-<digits>-<digits>", as TemporaryName makes the middle of a name.
bool IsSerialPart(const std::string& text)
{
    int groups = 0;
    bool inDigits = false;
    for (const char c : text)
    {
        if (std::isdigit(static_cast<unsigned char>(c)) != 0)
        {
            if (!inDigits)
            {
                ++groups;
            }
            inDigits = true;
        }
        else if (c == '-' && inDigits && groups < 3)
        {
            inDigits = false;
        }
        else
        {
            return false;
        }
    }
    return groups == 3 && inDigits;
}

} // namespace

CReplacementFile::CReplacementFile(std::string target)
    : m_target(std::move(target)), m_file(NO_FILE), m_hold(NO_FILE), m_open(false)
{
}

CReplacementFile::~CReplacementFile()
{
    CloseQuietly();
    RemoveTemporary();
    ReleaseHold();
}

bool CReplacementFile::Create()
{
    m_target = ResolvedTarget(m_target);
    RemoveAbandonedTemporaries();
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
        ReleaseHold();
        return EResult::CannotCreate;
    }
    m_temporary.clear();
    ReleaseHold();
    return EResult::Done;
}

// A second save from this process, or a save from another copy of the program in the same
// folder, must never pick a name that is in use.
std::string CReplacementFile::TemporaryName(unsigned attempt) const
{
    static unsigned s_serial = 0;
    const unsigned long process = ProcessId();
    return m_target + "." + std::to_string(process) + "-" + std::to_string(s_serial++) + "-" +
           std::to_string(attempt) + TEMPORARY_SUFFIX;
}

bool CReplacementFile::IsTemporaryOfTarget(const std::string& name) const
{
    const std::string base = m_target.substr(NameStart(m_target)) + ".";
    const std::size_t suffixSize = sizeof TEMPORARY_SUFFIX - 1;
    return name.size() > base.size() + suffixSize && name.compare(0, base.size(), base) == 0 &&
           name.compare(name.size() - suffixSize, suffixSize, TEMPORARY_SUFFIX) == 0 &&
           IsSerialPart(name.substr(base.size(), name.size() - base.size() - suffixSize));
}

// A save that was killed leaves its temporary file for good; a save that is running holds
// its own, so that it is passed over here.
void CReplacementFile::RemoveAbandonedTemporaries() const
{
    const std::string folder = m_target.substr(0, NameStart(m_target));
    for (const std::string& name : FolderNames(folder))
    {
        if (IsTemporaryOfTarget(name))
        {
            RemoveIfAbandoned(folder + name);
        }
    }
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
