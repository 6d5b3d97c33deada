#pragma once

#include "model/Colony.h"

#include <cstdint>
#include <string>

// The colonies in the order they were added, with a cursor. The list owns its nodes;
// node pointers it hands out stay valid until that node is removed.
class CList
{
public:
    CList();
    ~CList();
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    bool IsEmpty() const;
    CNode* GetHead() const;
    std::uint32_t GetCount() const;

    CNode* GetCurrent() const;
    // Ignores a pointer that is not a node of this list, so the cursor never dangles.
    void SetCurrent(CNode* node);

    void AddColony(std::string name, std::uint32_t metal, std::uint32_t crystal, std::uint32_t deuterium);
    CNode* FindColony(std::string name) const;
    // Does nothing for a node that is not in this list.
    void RemoveColony(CNode* node);
    void RemoveAll();
    // Exchanges the whole content, cursor included; cannot fail.
    void Swap(CList& other) noexcept;

    // The cursor moves and the cursor setters do nothing while the cursor is null.
    void MoveNext();
    void MovePrev();
    void SetCurrentName(std::string name);
    void SetCurrentMetal(std::uint32_t metal);
    void SetCurrentCrystal(std::uint32_t crystal);
    void SetCurrentDeuterium(std::uint32_t deuterium);

    // Sums wrap modulo 2^32, as every amount of the program does.
    std::uint32_t GetTotalMetal() const;
    std::uint32_t GetTotalCrystal() const;
    std::uint32_t GetTotalDeuterium() const;

private:
    std::uint32_t Sum(std::uint32_t (CColony::*amount)() const) const;
    bool Contains(const CNode* node) const;
    CNode* FindPredecessor(const CNode* node) const;

    CNode* m_head;
    CNode* m_current;
    std::uint32_t m_count;
    // Kept only so that appending stays constant-time on large loaded files.
    CNode* m_tail;
};

extern CList g_ColonyList;
