#include "ui/UiBench.h"

#include "storage/ColonyFile.h"

namespace uibench
{

bool WriteColonyFile(const std::vector<ColonyRecord>& colonies)
{
    std::vector<SColony> records;
    if (colonies.empty())
    {
        records.emplace_back("KolvarnScreewsThisFile", 0, 0, 0);
    }
    for (const ColonyRecord& colony : colonies)
    {
        records.emplace_back(colony.name, colony.metal, colony.crystal, colony.deuterium);
    }
    std::string bytes;
    bytes.reserve(records.size() * sizeof(SColony));
    for (const SColony& record : records)
    {
        bytes.append(reinterpret_cast<const char*>(&record), sizeof(record));
    }
    return WriteFileBytes("coldata.dat", bytes);
}

} // namespace uibench
