#pragma once

#include <cstddef>
#include <string>

// New content for a file, written beside it under a temporary name and put in its place in
// one step, so that a failure at any point leaves the old file exactly as it was. Whatever
// goes wrong, the temporary file is removed again.
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
    bool FlushAndClose();
    bool ReplaceTarget();
    void CloseQuietly();
    void RemoveTemporary();

    std::string m_target;
    std::string m_temporary;
#ifdef _WIN32
    void* m_handle; // a HANDLE, kept opaque so that this header needs no platform header
#else
    int m_descriptor;
#endif
    bool m_open;
};
