#include "bench/Files.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace bench
{

namespace
{

constexpr std::size_t NAME_BYTES = 200;
const char EMPTY_LIST_MARKER[] = "KolvarnScreewsThisFile";

unsigned long ProcessId()
{
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

std::uint64_t BitsOf(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void AppendLittleEndian(Bytes& out, std::uint64_t bits)
{
    for (int i = 0; i < 8; ++i)
    {
        out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    }
}

} // namespace

ScratchFolder::ScratchFolder(Current current)
{
    static std::atomic<unsigned> serial{0};
    const fs::path base = fs::temp_directory_path();
    do
    {
        m_path = base / ("zerak-test-" + std::to_string(ProcessId()) + "-" + std::to_string(++serial));
    } while (!fs::create_directory(m_path));
    if (current == Current::MAKE)
    {
        m_previous = fs::current_path();
        fs::current_path(m_path);
    }
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    if (!m_previous.empty())
    {
        fs::current_path(m_previous, ignored);
    }
    for (const auto& entry : fs::recursive_directory_iterator(m_path, ignored))
    {
        SetReadOnly(entry.path().string(), false);
    }
    fs::remove_all(m_path, ignored);
}

std::optional<Bytes> ReadBytes(const std::string& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
    {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        return std::nullopt;
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
    {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

#ifdef _WIN32
bool SetReadOnly(const std::string& path, bool readOnly)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
        return false;
    }
    const DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                  : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    return SetFileAttributesA(path.c_str(), wanted) != FALSE;
}

bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}
#else
bool SetReadOnly(const std::string& path, bool readOnly)
{
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || S_ISLNK(status.st_mode))
    {
        return false;
    }
    const mode_t mode = readOnly ? status.st_mode & ~mode_t{0222} : status.st_mode | S_IWUSR;
    return chmod(path.c_str(), mode & 07777) == 0;
}

bool IsReadOnly(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) == 0;
}
#endif

#ifdef _WIN32
namespace
{

constexpr DWORD HOST_PROGRAM_TIMEOUT_MS = 20000;

// Starts a program of the host system under Wine, which runs Unix programs too (it gives
// no handle to wait on for them).
bool StartHostProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string commandLine = program;
    for (const std::string& argument : arguments)
    {
        commandLine += " \"" + argument + "\"";
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const std::string windowsProgram = "Z:" + program;
    if (!CreateProcessA(windowsProgram.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    {
        return false;
    }
    if (process.hThread != nullptr)
    {
        CloseHandle(process.hThread);
    }
    if (process.hProcess != nullptr)
    {
        CloseHandle(process.hProcess);
    }
    return true;
}

bool IsListed(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
    {
        return false;
    }
    FindClose(search);
    return true;
}

// Waits until the host program has made the file.
bool MadeByHost(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& made)
{
    if (!StartHostProgram(program, arguments))
    {
        return false;
    }
    const ULONGLONG deadline = GetTickCount64() + HOST_PROGRAM_TIMEOUT_MS;
    while (!IsListed(made))
    {
        if (GetTickCount64() > deadline)
        {
            return false;
        }
        Sleep(1);
    }
    return true;
}

} // namespace

bool MakeSymbolicLink(const std::string& leadsTo, const std::string& link)
{
    return MadeByHost("/bin/ln", {"-s", leadsTo, link}, link);
}

bool MakePipe(const std::string& path)
{
    return MadeByHost("/usr/bin/mkfifo", {path}, path);
}

bool RemoveLinkOrPipe(const std::string& path)
{
    if (!StartHostProgram("/bin/rm", {"-f", path}))
    {
        return false;
    }
    const ULONGLONG deadline = GetTickCount64() + HOST_PROGRAM_TIMEOUT_MS;
    while (IsListed(path))
    {
        if (GetTickCount64() > deadline)
        {
            return false;
        }
        Sleep(1);
    }
    return true;
}

// Wine shows the link as the file it leads to; an open handle names that file.
bool IsSymbolicLink(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return false;
    }
    char finalPath[MAX_PATH * 2];
    const DWORD finalSize =
        GetFinalPathNameByHandleA(file, finalPath, sizeof finalPath, FILE_NAME_NORMALIZED);
    CloseHandle(file);
    char fullPath[MAX_PATH * 2];
    const DWORD fullSize = GetFullPathNameA(path.c_str(), sizeof fullPath, fullPath, nullptr);
    if (finalSize == 0 || finalSize >= sizeof finalPath || fullSize == 0 || fullSize >= sizeof fullPath)
    {
        return false;
    }
    std::string resolved(finalPath, finalSize);
    if (resolved.compare(0, 4, "\\\\?\\") == 0)
    {
        resolved.erase(0, 4);
    }
    return lstrcmpiA(resolved.c_str(), fullPath) != 0;
}
#else
bool MakeSymbolicLink(const std::string& leadsTo, const std::string& link)
{
    return symlink(leadsTo.c_str(), link.c_str()) == 0;
}

bool MakePipe(const std::string& path)
{
    return mkfifo(path.c_str(), 0600) == 0;
}

bool IsSymbolicLink(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool RemoveLinkOrPipe(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}
#endif

Bytes RecordWithBits(const std::string& name, std::uint64_t metal, std::uint64_t crystal,
                     std::uint64_t deuterium)
{
    Bytes record(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(std::min(name.size(), NAME_BYTES)));
    record.resize(NAME_BYTES, 0);
    AppendLittleEndian(record, metal);
    AppendLittleEndian(record, crystal);
    AppendLittleEndian(record, deuterium);
    return record;
}

Bytes Record(const std::string& name, double metal, double crystal, double deuterium)
{
    return RecordWithBits(name, BitsOf(metal), BitsOf(crystal), BitsOf(deuterium));
}

Bytes Concat(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& part : parts)
    {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes ColonyFile(const std::vector<ColonyRecord>& colonies)
{
    if (colonies.empty())
    {
        return Record(EMPTY_LIST_MARKER, 0, 0, 0);
    }
    Bytes bytes;
    bytes.reserve(colonies.size() * (NAME_BYTES + 24));
    for (const ColonyRecord& colony : colonies)
    {
        const Bytes record = Record(colony.name, colony.metal, colony.crystal, colony.deuterium);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

bool WriteColonyFile(const std::string& path, const std::vector<ColonyRecord>& colonies)
{
    return WriteBytes(path, ColonyFile(colonies));
}

} // namespace bench
