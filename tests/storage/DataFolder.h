#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Each test runs in a fresh, empty current folder of its own, where the program's
// coldata.dat lives, and starts with an empty colony list.
class DataFolderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
};

// The whole content of a file, or nothing when it cannot be read as a file.
std::optional<Bytes> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
// The names in the current folder, sorted.
std::vector<std::string> FolderEntries();
// The Windows read-only attribute, or every write permission bit elsewhere.
void SetReadOnly(const std::string& path, bool readOnly);
bool IsReadOnly(const std::string& path);

// One record as the file must hold it, built byte by byte: the name's bytes then zero bytes
// up to 200, then three binary64 numbers, least significant byte first.
Bytes Record(const std::string& name, double metal, double crystal, double deuterium);
Bytes RecordWithBits(const std::string& name, std::uint64_t metal, std::uint64_t crystal,
                     std::uint64_t deuterium);
Bytes Concat(const std::vector<Bytes>& parts);

// The colony list as the user sees it: each colony's name and amounts, head first.
using Colony = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t>;
std::vector<Colony> ListedColonies();
void FillList(const std::vector<Colony>& colonies);
