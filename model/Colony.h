#pragma once

#include <cstdint>
#include <string>

// One colony of the player: its name and what it produces per hour.
class CColony
{
public:
    CColony();
    ~CColony();

    std::string GetName() const;
    void SetName(std::string name);

    std::uint32_t GetMetal() const;
    void SetMetal(std::uint32_t metal);
    std::uint32_t GetCrystal() const;
    void SetCrystal(std::uint32_t crystal);
    std::uint32_t GetDeuterium() const;
    void SetDeuterium(std::uint32_t deuterium);

private:
    std::string m_name;
    std::uint32_t m_metal;
    std::uint32_t m_crystal;
    std::uint32_t m_deuterium;
};

// A colony as it stands in a CList; the list owns it and the node it links to.
class CNode : public CColony
{
public:
    CNode();
    ~CNode();

    CNode* GetNext() const;
    void SetNext(CNode* next);

private:
    CNode* m_next;
};
