#include "LoadFloor.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

constexpr std::size_t RECORD_SIZE = 224;
constexpr std::size_t NAME_SIZE = 200;
constexpr std::size_t RECORDS_PER_READ = 4096;
constexpr double TWO_TO_THE_32 = 4294967296.0;

std::uint32_t Amount(const unsigned char* field)
{
    double value = 0;
    std::memcpy(&value, field, sizeof value);
    return value >= 0 && value < TWO_TO_THE_32 ? static_cast<std::uint32_t>(value) : 0;
}

constexpr std::uint64_t FNV_OFFSET_BASIS = 0xCBF29CE484222325ull;
constexpr std::uint64_t FNV_PRIME = 0x100000001B3ull;

// FNV-1a over the name: short and well known.
std::uint64_t Hash(const char* name, std::size_t length)
{
    std::uint64_t hash = FNV_OFFSET_BASIS;
    for (std::size_t i = 0; i < length; ++i)
    {
        hash = (hash ^ static_cast<unsigned char>(name[i])) * FNV_PRIME;
    }
    return hash;
}

} // namespace

struct CLoadFloor::SNode
{
    std::string name;
    std::uint32_t metal;
    std::uint32_t crystal;
    std::uint32_t deuterium;
    SNode* next;
};

CLoadFloor::CLoadFloor() : m_head(nullptr) {}

CLoadFloor::~CLoadFloor()
{
    Free();
}

void CLoadFloor::Free()
{
    while (m_head != nullptr)
    {
        SNode* next = m_head->next;
        delete m_head;
        m_head = next;
    }
}

std::size_t CLoadFloor::Load(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
    {
        return 0;
    }
    Free();
    // Open addressing on node pointers, sized once for the whole file, as a loader that knows
    // the file's length can.
    std::fseek(file, 0, SEEK_END);
    const long bytes = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::size_t slots = 64;
    while (slots < 2 * static_cast<std::size_t>(bytes) / RECORD_SIZE)
    {
        slots *= 2;
    }
    std::vector<SNode*> table(slots, nullptr);
    std::vector<unsigned char> block(RECORDS_PER_READ * RECORD_SIZE);
    SNode** tail = &m_head;
    std::size_t count = 0;
    for (;;)
    {
        const std::size_t read = std::fread(block.data(), 1, block.size(), file);
        for (std::size_t at = 0; at + RECORD_SIZE <= read; at += RECORD_SIZE)
        {
            const char* name = reinterpret_cast<const char*>(&block[at]);
            const void* end = std::memchr(name, 0, NAME_SIZE);
            const std::size_t length = end == nullptr ? NAME_SIZE : static_cast<const char*>(end) - name;
            std::size_t i = Hash(name, length) & (slots - 1);
            bool taken = false;
            for (; table[i] != nullptr; i = (i + 1) & (slots - 1))
            {
                if (table[i]->name.size() == length && std::memcmp(table[i]->name.data(), name, length) == 0)
                {
                    taken = true;
                    break;
                }
            }
            if (taken)
            {
                continue;
            }
            const unsigned char* amounts = &block[at + NAME_SIZE];
            SNode* node = new SNode{std::string(name, length), Amount(amounts), Amount(amounts + 8),
                                    Amount(amounts + 16), nullptr};
            table[i] = node;
            *tail = node;
            tail = &node->next;
            ++count;
        }
        if (read < block.size())
        {
            break;
        }
    }
    std::fclose(file);
    return count;
}
