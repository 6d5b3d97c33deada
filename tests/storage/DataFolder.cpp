#include "storage/DataFolder.h"

#include "model/ColonyList.h"

void DataFolderTest::SetUp()
{
    m_folder = std::make_unique<bench::ScratchFolder>(bench::ScratchFolder::Current::MAKE);
    g_ColonyList.RemoveAll();
}

void DataFolderTest::TearDown()
{
    g_ColonyList.RemoveAll();
    m_folder.reset();
}

std::vector<Colony> ListedColonies()
{
    std::vector<Colony> colonies;
    for (const CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        colonies.emplace_back(node->GetName(), node->GetMetal(), node->GetCrystal(), node->GetDeuterium());
    }
    return colonies;
}

void FillList(const std::vector<Colony>& colonies)
{
    g_ColonyList.RemoveAll();
    for (const Colony& colony : colonies)
    {
        g_ColonyList.AddColony(std::get<0>(colony), std::get<1>(colony), std::get<2>(colony),
                               std::get<3>(colony));
    }
}
