#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Memory for the loader's name table. A block of a few megabytes or more is, where the system
// offers it, laid out in huge pages: the table of a million colonies is looked up at random, and
// in 4 KiB pages nearly every look-up also misses the processor's address translation cache.
// Smaller blocks come from the ordinary heap.
template <typename T> struct CLargeBlockAllocator
{
    using value_type = T;

    CLargeBlockAllocator() = default;
    template <typename U> CLargeBlockAllocator(const CLargeBlockAllocator<U>&) {}

    T* allocate(std::size_t count)
    {
        if (count > static_cast<std::size_t>(-1) / sizeof(T))
        {
            throw std::bad_alloc();
        }
        const std::size_t bytes = count * sizeof(T);
        void* block = nullptr;
#if defined(__linux__)
        if (bytes >= HUGE_PAGE_BYTES)
        {
            const std::size_t whole = (bytes + HUGE_PAGE_BYTES - 1) / HUGE_PAGE_BYTES * HUGE_PAGE_BYTES;
            block = std::aligned_alloc(HUGE_PAGE_BYTES, whole);
            if (block != nullptr)
            {
                // Only advice: without huge pages the block works the same.
                madvise(block, whole, MADV_HUGEPAGE);
            }
        }
        else
#endif
        {
            block = std::malloc(bytes == 0 ? 1 : bytes);
        }
        if (block == nullptr)
        {
            throw std::bad_alloc();
        }
        return static_cast<T*>(block);
    }

    void deallocate(T* block, std::size_t)
    {
        std::free(block);
    }

    bool operator==(const CLargeBlockAllocator&) const
    {
        return true;
    }
    bool operator!=(const CLargeBlockAllocator&) const
    {
        return false;
    }

private:
    static constexpr std::size_t HUGE_PAGE_BYTES = std::size_t{2} << 20;
};
