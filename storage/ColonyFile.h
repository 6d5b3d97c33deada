#pragma once

#include <cstdint>
#include <string>

// One colony as it stands in coldata.dat: 224 bytes, the name field then three
// little-endian binary64 amounts.
struct SColony
{
    SColony();
    SColony(std::string name, std::uint32_t metal, std::uint32_t crystal, std::uint32_t deuterium);

    void SetName(std::string name);
    std::string GetName() const;
    std::uint32_t GetMetal() const;
    std::uint32_t GetCrystal() const;
    std::uint32_t GetDeuterium() const;

    char name[200];
    unsigned char metal[8];
    unsigned char crystal[8];
    unsigned char deuterium[8];
};

// Write g_ColonyList to coldata.dat in the current directory, and read it back.
// Both report their own failures through ReportFileError.
void SaveColonies();
void LoadColonies();

// Shows a failure of the data file to the user. The program defines it as a message box;
// tests define their own.
void ReportFileError(const char* text);
