#include "model/ColonyList.h"

#include <utility>

CList g_ColonyList;

CList::CList() : m_head(nullptr), m_current(nullptr), m_count(0), m_tail(nullptr) {}

CList::~CList()
{
    RemoveAll();
}

bool CList::IsEmpty() const
{
    return m_head == nullptr;
}

CNode* CList::GetHead() const
{
    return m_head;
}

std::uint32_t CList::GetCount() const
{
    return m_count;
}

CNode* CList::GetCurrent() const
{
    return m_current;
}

void CList::SetCurrent(CNode* node)
{
    if (Contains(node))
    {
        m_current = node;
    }
}

void CList::AddColony(std::string name, std::uint32_t metal, std::uint32_t crystal, std::uint32_t deuterium)
{
    CNode* node = new CNode;
    node->SetName(std::move(name));
    node->SetMetal(metal);
    node->SetCrystal(crystal);
    node->SetDeuterium(deuterium);

    if (m_head == nullptr)
    {
        m_head = node;
    }
    else
    {
        m_tail->SetNext(node);
    }
    m_tail = node;
    ++m_count;
    m_current = m_head;
}

CNode* CList::FindColony(std::string name) const
{
    for (CNode* node = m_head; node != nullptr; node = node->GetNext())
    {
        if (node->GetName() == name)
        {
            return node;
        }
    }
    return nullptr;
}

void CList::RemoveColony(CNode* node)
{
    if (node == nullptr)
    {
        return;
    }
    if (node == m_head)
    {
        m_head = node->GetNext();
        if (m_tail == node)
        {
            m_tail = nullptr;
        }
    }
    else
    {
        CNode* previous = FindPredecessor(node);
        if (previous == nullptr)
        {
            return;
        }
        previous->SetNext(node->GetNext());
        if (m_tail == node)
        {
            m_tail = previous;
        }
    }
    delete node;
    --m_count;
    m_current = m_head;
}

void CList::RemoveAll()
{
    while (m_head != nullptr)
    {
        RemoveColony(m_head);
    }
}

void CList::Swap(CList& other) noexcept
{
    std::swap(m_head, other.m_head);
    std::swap(m_current, other.m_current);
    std::swap(m_count, other.m_count);
    std::swap(m_tail, other.m_tail);
}

void CList::MoveNext()
{
    if (m_current == nullptr)
    {
        return;
    }
    CNode* next = m_current->GetNext();
    m_current = next != nullptr ? next : m_head;
}

void CList::MovePrev()
{
    if (m_current == nullptr)
    {
        return;
    }
    m_current = m_current == m_head ? m_tail : FindPredecessor(m_current);
}

void CList::SetCurrentName(std::string name)
{
    if (m_current != nullptr)
    {
        m_current->SetName(std::move(name));
    }
}

void CList::SetCurrentMetal(std::uint32_t metal)
{
    if (m_current != nullptr)
    {
        m_current->SetMetal(metal);
    }
}

void CList::SetCurrentCrystal(std::uint32_t crystal)
{
    if (m_current != nullptr)
    {
        m_current->SetCrystal(crystal);
    }
}

void CList::SetCurrentDeuterium(std::uint32_t deuterium)
{
    if (m_current != nullptr)
    {
        m_current->SetDeuterium(deuterium);
    }
}

std::uint32_t CList::GetTotalMetal() const
{
    return Sum(&CColony::GetMetal);
}

std::uint32_t CList::GetTotalCrystal() const
{
    return Sum(&CColony::GetCrystal);
}

std::uint32_t CList::GetTotalDeuterium() const
{
    return Sum(&CColony::GetDeuterium);
}

std::uint32_t CList::Sum(std::uint32_t (CColony::*amount)() const) const
{
    std::uint32_t total = 0;
    for (const CNode* node = m_head; node != nullptr; node = node->GetNext())
    {
        total += (node->*amount)();
    }
    return total;
}

bool CList::Contains(const CNode* node) const
{
    if (node == nullptr)
    {
        return false;
    }
    for (const CNode* walk = m_head; walk != nullptr; walk = walk->GetNext())
    {
        if (walk == node)
        {
            return true;
        }
    }
    return false;
}

CNode* CList::FindPredecessor(const CNode* node) const
{
    for (CNode* walk = m_head; walk != nullptr; walk = walk->GetNext())
    {
        if (walk->GetNext() == node)
        {
            return walk;
        }
    }
    return nullptr;
}
