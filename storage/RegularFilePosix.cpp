#include "storage/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenRegularFileForReading(const char* name)
{
    // Without O_NONBLOCK opening a pipe would wait for a writer that may never come.
    const int file = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0)
    {
        return nullptr;
    }
    struct stat status;
    const int flags = fcntl(file, F_GETFL);
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode) || flags == -1 ||
        fcntl(file, F_SETFL, flags & ~O_NONBLOCK) != 0)
    {
        close(file);
        return nullptr;
    }
    std::FILE* stream = fdopen(file, "rb");
    if (stream == nullptr)
    {
        close(file);
    }
    return stream;
}
