#include "storage/DataFolder.h"

#include "model/ColonyList.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

void DataFolderTest::SetUp()
{
    static unsigned s_serial = 0;
    m_previous = fs::current_path();
    const fs::path base = fs::temp_directory_path();
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    do
    {
        m_folder = base / ("zerak-storage-" + test + "-" + std::to_string(s_serial++));
    } while (!fs::create_directory(m_folder));
    fs::current_path(m_folder);
    g_ColonyList.RemoveAll();
}

void DataFolderTest::TearDown()
{
    g_ColonyList.RemoveAll();
    fs::current_path(m_previous);
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(m_folder, ignored))
    {
        SetReadOnly(entry.path().string(), false);
    }
    fs::remove_all(m_folder, ignored);
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

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    ASSERT_TRUE(out) << "cannot write " << path;
}

std::vector<std::string> FolderEntries()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::current_path()))
    {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

#ifdef _WIN32
void SetReadOnly(const std::string& path, bool readOnly)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
    const DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                  : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), wanted)) << path;
}

bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}
#else
void SetReadOnly(const std::string& path, bool readOnly)
{
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0) << path;
    const mode_t mode = readOnly ? status.st_mode & ~mode_t{0222} : status.st_mode | S_IWUSR;
    ASSERT_EQ(chmod(path.c_str(), mode & 07777), 0) << path;
}

bool IsReadOnly(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) == 0;
}
#endif

namespace
{

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

Bytes RecordWithBits(const std::string& name, std::uint64_t metal, std::uint64_t crystal,
                     std::uint64_t deuterium)
{
    Bytes record(name.begin(),
                 name.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(name.size(), 200)));
    record.resize(200, 0);
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

std::vector<Colony> ListedColonies()
{
    std::vector<Colony> colonies;
    for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        colonies.emplace_back(node->GetName(), node->GetMetal(), node->GetCrystal(), node->GetDeuterium());
    }
    return colonies;
}

void FillList(const std::vector<Colony>& colonies)
{
    g_ColonyList.RemoveAll();
    for (const Colony& colony : colonies)
    {
        g_ColonyList.AddColony(std::get<0>(colony), std::get<1>(colony), std::get<2>(colony),
                               std::get<3>(colony));
    }
}
