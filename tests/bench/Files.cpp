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

// Runs a program of the host system under Wine (which starts Unix programs too) and tells
// whether it ran and ended with 0.
bool RunHostProgram(const std::string& program, const std::vector<std::string>& arguments)
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
    DWORD exitCode = 1;
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && exitCode == 0;
}

} // namespace

bool MakeSymbolicLink(const std::string& leadsTo, const std::string& link)
{
    return RunHostProgram("/bin/ln", {"-s", leadsTo, link});
}

bool MakePipe(const std::string& path)
{
    return RunHostProgram("/usr/bin/mkfifo", {path});
}

bool IsSymbolicLink(const std::string& path)
{
    return RunHostProgram("/usr/bin/test", {"-L", path});
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
