#include "storage/ReplacementFile.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

// As many links in a row as the system itself follows before it gives up.
constexpr int MOST_LINKS_FOLLOWED = 40;
constexpr std::size_t MOST_LINK_BYTES = 4096;

int AsDescriptor(std::intptr_t file)
{
    return static_cast<int>(file);
}

// The same file under the name as on the descriptor: not removed or replaced meanwhile.
bool StillNamed(int file, const std::string& name)
{
    struct stat opened;
    struct stat named;
    return fstat(file, &opened) == 0 && lstat(name.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
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

std::string CReplacementFile::ResolvedTarget(const std::string& name)
{
    std::string path = name;
    for (int hop = 0; hop < MOST_LINKS_FOLLOWED; ++hop)
    {
        char link[MOST_LINK_BYTES];
        const ssize_t size = readlink(path.c_str(), link, sizeof link);
        if (size <= 0 || static_cast<std::size_t>(size) == sizeof link)
        {
            break;
        }
        const std::string leadsTo(link, static_cast<std::size_t>(size));
        // A relative link counts from the folder that holds it.
        const std::string::size_type slash = path.rfind('/');
        path = leadsTo.front() == '/' || slash == std::string::npos ? leadsTo
                                                                    : path.substr(0, slash + 1) + leadsTo;
    }
    return path;
}

std::vector<std::string> CReplacementFile::FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr)
    {
        return names;
    }
    while (const dirent* entry = readdir(listing))
    {
        names.emplace_back(entry->d_name);
    }
    closedir(listing);
    return names;
}

// A running save holds a lock on its temporary file until the file has its final name.
void CReplacementFile::RemoveIfAbandoned(const std::string& name)
{
    const int file = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
    {
        return;
    }
    struct stat status;
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode) && flock(file, LOCK_EX | LOCK_NB) == 0 &&
        StillNamed(file, name))
    {
        unlink(name.c_str());
    }
    close(file);
}

CReplacementFile::EOpen CReplacementFile::OpenNew(const std::string& name)
{
    const int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file < 0)
    {
        return errno == EEXIST ? EOpen::NameTaken : EOpen::Failed;
    }
    // Another save may have taken the new file for one left behind and removed it between
    // its creation and the lock: then another name is tried.
    if (flock(file, LOCK_EX) != 0)
    {
        close(file);
        unlink(name.c_str());
        return EOpen::Failed;
    }
    if (!StillNamed(file, name))
    {
        close(file);
        return EOpen::NameTaken;
    }
    // The lock lasts while any descriptor of the file is open: this one keeps it after the
    // file has been closed for writing, until it has taken the target's place.
    const int hold = fcntl(file, F_DUPFD_CLOEXEC, 0);
    if (hold < 0)
    {
        close(file);
        unlink(name.c_str());
        return EOpen::Failed;
    }
    m_file = file;
    m_hold = hold;
    return EOpen::Opened;
}

void CReplacementFile::ReleaseHold()
{
    if (m_hold != NO_FILE)
    {
        close(AsDescriptor(m_hold));
        m_hold = NO_FILE;
    }
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
