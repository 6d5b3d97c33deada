#pragma once

#include <cstddef>

// What loading coldata.dat cannot do without, written as plainly and quickly as it goes: read
// the file in large blocks, skip each record whose name an earlier one has, and make one node
// per colony, in place of the nodes of the previous load. The loader is measured against it.
class CLoadFloor
{
public:
    CLoadFloor();
    ~CLoadFloor();
    CLoadFloor(const CLoadFloor&) = delete;
    CLoadFloor& operator=(const CLoadFloor&) = delete;

    // Loads the named file over what the last call loaded; the number of colonies, or 0 when
    // the file cannot be read.
    std::size_t Load(const char* path);

private:
    struct SNode;
    void Free();

    SNode* m_head;
};
