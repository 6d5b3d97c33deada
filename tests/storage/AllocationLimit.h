#pragma once

#include <cstddef>

// The test program's operator new counts the bytes in use. While a CAllocationLimit lives,
// an allocation of the thread that made it fails with std::bad_alloc when it would take the
// bytes in use beyond the limit, as when memory runs out; what is freed makes room again.
// Other threads (the one that reads message boxes under Windows) allocate as usual.
class CAllocationLimit
{
public:
    // A limit of that many bytes beyond what is in use now.
    explicit CAllocationLimit(std::size_t moreBytes);
    ~CAllocationLimit();
    CAllocationLimit(const CAllocationLimit&) = delete;
    CAllocationLimit& operator=(const CAllocationLimit&) = delete;

    // How many allocations were refused, and the most bytes in use, while it lived.
    std::size_t RefusedCount() const;
    std::size_t PeakBytes() const;
};

// Bytes in use through operator new now, in the whole program.
std::size_t BytesInUse();
