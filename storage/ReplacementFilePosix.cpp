#include "storage/ReplacementFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

int AsDescriptor(std::intptr_t file)
{
    return static_cast<int>(file);
}

} // namespace

unsigned long CReplacementFile::ProcessId()
{
    return static_cast<unsigned long>(getpid());
}

void CReplacementFile::DeleteNamedFile(const std::string& name)
{
    unlink(name.c_str());
}

CReplacementFile::EOpen CReplacementFile::OpenNew(const std::string& name)
{
    const int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file >= 0)
    {
        m_file = file;
        return EOpen::Opened;
    }
    return errno == EEXIST ? EOpen::NameTaken : EOpen::Failed;
}

// The new file takes over the old one's permissions.
bool CReplacementFile::TakeOverPermissions()
{
    mode_t mode = 0666;
    struct stat old;
    if (stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    {
        mode = old.st_mode & 07777;
    }
    return fchmod(AsDescriptor(m_file), mode) == 0;
}

std::size_t CReplacementFile::WriteSome(const char* data, std::size_t size)
{
    for (;;)
    {
        const ssize_t written = write(AsDescriptor(m_file), data, size);
        if (written < 0 && errno == EINTR)
        {
            continue;
        }
        return written <= 0 ? 0 : static_cast<std::size_t>(written);
    }
}

bool CReplacementFile::FlushFile()
{
    return fsync(AsDescriptor(m_file)) == 0;
}

bool CReplacementFile::CloseFile()
{
    return close(AsDescriptor(m_file)) == 0;
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
