// Replaces the global operator new and delete of the test program: each block carries its
// size in front of it, so that the bytes in use are known at every moment.
#include "storage/AllocationLimit.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{

// Keeps the block behind the header aligned for any type that plain operator new serves.
constexpr std::size_t HEADER_BYTES = alignof(std::max_align_t) > sizeof(std::size_t)
                                         ? alignof(std::max_align_t)
                                         : sizeof(std::size_t);
constexpr std::size_t NO_LIMIT = static_cast<std::size_t>(-1);

std::atomic<std::size_t> g_inUse{0};
std::atomic<std::size_t> g_peak{0};
std::atomic<std::size_t> g_refused{0};
thread_local std::size_t t_limit = NO_LIMIT;

void* Allocate(std::size_t size)
{
    const std::size_t before = g_inUse.fetch_add(size);
    if (t_limit != NO_LIMIT && (before + size > t_limit || before + size < before))
    {
        g_inUse.fetch_sub(size);
        g_refused.fetch_add(1);
        return nullptr;
    }
    void* block = std::malloc(size + HEADER_BYTES);
    if (block == nullptr)
    {
        g_inUse.fetch_sub(size);
        return nullptr;
    }
    const std::size_t now = before + size;
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now))
    {
    }
    *static_cast<std::size_t*>(block) = size;
    return static_cast<char*>(block) + HEADER_BYTES;
}

void Free(void* pointer) noexcept
{
    if (pointer == nullptr)
    {
        return;
    }
    void* block = static_cast<char*>(pointer) - HEADER_BYTES;
    g_inUse.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

void* AllocateOrThrow(std::size_t size)
{
    void* pointer = Allocate(size);
    if (pointer == nullptr)
    {
        throw std::bad_alloc();
    }
    return pointer;
}

} // namespace

CAllocationLimit::CAllocationLimit(std::size_t moreBytes)
{
    g_refused = 0;
    g_peak = g_inUse.load();
    t_limit = g_inUse.load() + moreBytes;
}

CAllocationLimit::~CAllocationLimit()
{
    t_limit = NO_LIMIT;
}

std::size_t CAllocationLimit::RefusedCount() const
{
    return g_refused.load();
}

std::size_t CAllocationLimit::PeakBytes() const
{
    return g_peak.load();
}

std::size_t BytesInUse()
{
    return g_inUse.load();
}

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* pointer) noexcept
{
    Free(pointer);
}

void operator delete[](void* pointer) noexcept
{
    Free(pointer);
}

void operator delete(void* pointer, std::size_t) noexcept
{
    Free(pointer);
}

void operator delete[](void* pointer, std::size_t) noexcept
{
    Free(pointer);
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept
{
    Free(pointer);
}

void operator delete[](void* pointer, const std::nothrow_t&) noexcept
{
    Free(pointer);
}
