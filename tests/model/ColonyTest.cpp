#include "model/Colony.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

TEST(Colony, NewNodeIsNamedColonyWithZeroAmountsAndNoSuccessor)
{
    CNode node;
    EXPECT_EQ(node.GetName(), "Colony");
    EXPECT_EQ(node.GetMetal(), 0u);
    EXPECT_EQ(node.GetCrystal(), 0u);
    EXPECT_EQ(node.GetDeuterium(), 0u);
    EXPECT_EQ(node.GetNext(), nullptr);
}

TEST(Colony, SettersStoreEveryValueUnchanged)
{
    for (std::uint32_t value : {0u, 1u, 2147483648u, 4294967295u})
    {
        CNode node;
        node.SetMetal(value);
        node.SetCrystal(value ^ 1u);
        node.SetDeuterium(value ^ 2u);
        EXPECT_EQ(node.GetMetal(), value);
        EXPECT_EQ(node.GetCrystal(), value ^ 1u);
        EXPECT_EQ(node.GetDeuterium(), value ^ 2u);
    }
}

TEST(Colony, NameIsHandedOutAsACopy)
{
    CNode node;
    node.SetName("Alpha Prime");
    std::string copy = node.GetName();
    copy[0] = 'X';
    EXPECT_EQ(node.GetName(), "Alpha Prime");

    node.SetName("");
    EXPECT_EQ(node.GetName(), "");
}

TEST(Colony, DestroyingANodeLeavesItsSuccessorIntact)
{
    CNode second;
    second.SetName("Second");
    {
        auto first = std::make_unique<CNode>();
        first->SetNext(&second);
        EXPECT_EQ(first->GetNext(), &second);
    }
    EXPECT_EQ(second.GetName(), "Second");
    EXPECT_EQ(second.GetNext(), nullptr);
}
