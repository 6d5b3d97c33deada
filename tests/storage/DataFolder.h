#pragma once

#include "bench/Files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using bench::Bytes;
using bench::Concat;
using bench::FolderEntries;
using bench::IsReadOnly;
using bench::ReadBytes;
using bench::Record;
using bench::RecordWithBits;
using bench::SetReadOnly;
using bench::WriteBytes;

// Each test runs in a fresh, empty current folder of its own, where the program's
// coldata.dat lives, and starts with an empty colony list.
class DataFolderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

private:
    std::unique_ptr<bench::ScratchFolder> m_folder;
};

// The colony list as the user sees it: each colony's name and amounts, head first.
using Colony = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t>;
std::vector<Colony> ListedColonies();
void FillList(const std::vector<Colony>& colonies);
