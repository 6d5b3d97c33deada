#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// New content for a file, written beside it under a temporary name and put in its place in
// one step, so that a failure at any point leaves the old file exactly as it was. Whatever
// goes wrong, the temporary file is removed again; one left by a save that was killed is
// removed by the next save, unless a running save still holds it.
//
// A target that is a symbolic link stays one: the new file is made beside the file the link
// leads to and takes that file's place.
//
// ReplacementFile.cpp holds what every platform does alike; ReplacementFileWindows.cpp and
// ReplacementFilePosix.cpp, of which the build takes one, the calls to the platform.
class CReplacementFile
{
public:
    enum class EResult
    {
        Done,
        CannotCreate, // the temporary file could not be made, or the target not replaced
        CannotWrite,  // writing or flushing the temporary file failed
    };

    explicit CReplacementFile(std::string target);
    ~CReplacementFile();
    CReplacementFile(const CReplacementFile&) = delete;
    CReplacementFile& operator=(const CReplacementFile&) = delete;

    bool Create();
    // Fails unless every byte reached the file.
    bool Write(const void* data, std::size_t size);
    // Flushes the new content to the device, closes it and replaces the target with it.
    EResult Commit();

private:
    enum class EOpen
    {
        Opened,
        NameTaken, // a file of that name exists: another name is tried
        Failed,
    };

    static constexpr unsigned NAME_ATTEMPTS = 100;
    static constexpr std::intptr_t NO_FILE = -1;

    std::string TemporaryName(unsigned attempt) const;
    bool IsTemporaryOfTarget(const std::string& name) const;
    void RemoveAbandonedTemporaries() const;
    bool Close();
    bool FlushAndClose();
    void CloseQuietly();
    void RemoveTemporary();

    // The platform's part.
    static unsigned long ProcessId();
    static void DeleteNamedFile(const std::string& name);
    // The file a symbolic link leads to, through every link on the way; the name itself when
    // it is no link.
    static std::string ResolvedTarget(const std::string& name);
    // The names in the folder ("" for the current one, else ending in a separator).
    static std::vector<std::string> FolderNames(const std::string& folder);
    // Removes a temporary file unless a running save holds it.
    static void RemoveIfAbandoned(const std::string& name);
    // Lets go of the hold on the temporary file that keeps other saves from removing it.
    void ReleaseHold();
    // Creates the file of that name, which must not exist yet, for writing.
    EOpen OpenNew(const std::string& name);
    // Run once the temporary file is open, before anything is written to it.
    bool TakeOverPermissions();
    // Writes some of the bytes and tells how many; 0 when none could be written.
    std::size_t WriteSome(const char* data, std::size_t size);
    bool FlushFile();
    bool CloseFile();
    bool ReplaceTarget();

    std::string m_target;
    std::string m_temporary;
    // The open temporary file: a HANDLE on Windows, a descriptor elsewhere, kept as a number
    // so that this header needs no platform header.
    std::intptr_t m_file;
    // Holds the temporary file against removal by other saves until it has its final name;
    // the platform's part decides what it is.
    std::intptr_t m_hold;
    bool m_open;
};
