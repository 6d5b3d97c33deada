#include "model/Colony.h"

#include <utility>

CColony::CColony() : m_name("Colony"), m_metal(0), m_crystal(0), m_deuterium(0) {}

CColony::~CColony() = default;

std::string CColony::GetName() const
{
    return m_name;
}

void CColony::SetName(std::string name)
{
    m_name = std::move(name);
}

std::uint32_t CColony::GetMetal() const
{
    return m_metal;
}

void CColony::SetMetal(std::uint32_t metal)
{
    m_metal = metal;
}

std::uint32_t CColony::GetCrystal() const
{
    return m_crystal;
}

void CColony::SetCrystal(std::uint32_t crystal)
{
    m_crystal = crystal;
}

std::uint32_t CColony::GetDeuterium() const
{
    return m_deuterium;
}

void CColony::SetDeuterium(std::uint32_t deuterium)
{
    m_deuterium = deuterium;
}

CNode::CNode() : m_next(nullptr) {}

CNode::~CNode() = default;

CNode* CNode::GetNext() const
{
    return m_next;
}

void CNode::SetNext(CNode* next)
{
    m_next = next;
}
