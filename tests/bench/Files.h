#pragma once

// Files and folders for the tests, on every platform: scratch folders, colony files built
// byte by byte, and whole files read and written.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace bench
{

using Bytes = std::vector<unsigned char>;

// A fresh empty folder under the temporary folder, removed with everything in it (read-only
// files too) at the end. Made the current folder on request; the previous one comes back at
// the end.
class ScratchFolder
{
public:
    enum class Current
    {
        KEEP,
        MAKE
    };

    explicit ScratchFolder(Current current = Current::KEEP);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path() const { return m_path.string(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

// The whole content of a file, or nothing when it cannot be read as a regular file.
std::optional<Bytes> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const Bytes& bytes);
// The names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder = ".");
// The Windows read-only attribute, or every write permission bit elsewhere.
bool SetReadOnly(const std::string& path, bool readOnly);
bool IsReadOnly(const std::string& path);

// Symbolic links and named pipes as the host system has them. Under Wine they are made by
// the host's own ln and mkfifo, as Wine shows a Unix link as the file it leads to; false
// where they cannot be made (Windows itself).
bool MakeSymbolicLink(const std::string& leadsTo, const std::string& link);
bool MakePipe(const std::string& path);
// True when the host system has a symbolic link under that (relative) name.
bool IsSymbolicLink(const std::string& path);
// Removes a link or a pipe made so, and nothing it leads to (under Wine DeleteFileA would
// remove the file a link leads to).
bool RemoveLinkOrPipe(const std::string& path);

// One record as coldata.dat must hold it, built byte by byte: the name's bytes then zero
// bytes up to 200, then three binary64 numbers, least significant byte first.
Bytes Record(const std::string& name, double metal, double crystal, double deuterium);
Bytes RecordWithBits(const std::string& name, std::uint64_t metal, std::uint64_t crystal,
                     std::uint64_t deuterium);
Bytes Concat(const std::vector<Bytes>& parts);

struct ColonyRecord
{
    std::string name;
    std::uint32_t metal;
    std::uint32_t crystal;
    std::uint32_t deuterium;
};

// The file the program itself writes for these colonies; an empty list gives its one
// marker record.
Bytes ColonyFile(const std::vector<ColonyRecord>& colonies);
bool WriteColonyFile(const std::string& path, const std::vector<ColonyRecord>& colonies);

} // namespace bench
