#include "model/ColonyList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<std::string> Names(const CList& list)
{
    std::vector<std::string> names;
    for (const CNode* node = list.GetHead(); node != nullptr; node = node->GetNext())
    {
        names.push_back(node->GetName());
    }
    return names;
}

// Alpha, Beta, Gamma with distinct amounts.
void AddThree(CList& list)
{
    list.AddColony("Alpha", 100, 10, 1);
    list.AddColony("Beta", 200, 20, 2);
    list.AddColony("Gamma", 300, 30, 3);
}

CNode* NodeAt(const CList& list, int index)
{
    CNode* node = list.GetHead();
    while (index-- > 0)
    {
        node = node->GetNext();
    }
    return node;
}

} // namespace

TEST(ColonyList, EmptyListHasNothing)
{
    CList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHead(), nullptr);
    EXPECT_EQ(list.GetCurrent(), nullptr);
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetTotalMetal(), 0u);
    EXPECT_EQ(list.GetTotalCrystal(), 0u);
    EXPECT_EQ(list.GetTotalDeuterium(), 0u);
    EXPECT_EQ(list.FindColony(""), nullptr);
    EXPECT_EQ(list.FindColony("Colony"), nullptr);
}

TEST(ColonyList, AddAppendsInOrderAndPutsTheCursorOnTheHead)
{
    CList list;
    list.AddColony("Alpha", 1500, 800, 300);
    EXPECT_FALSE(list.IsEmpty());
    EXPECT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(list.GetHead(), list.GetCurrent());
    EXPECT_EQ(list.GetHead()->GetName(), "Alpha");
    EXPECT_EQ(list.GetHead()->GetMetal(), 1500u);
    EXPECT_EQ(list.GetHead()->GetCrystal(), 800u);
    EXPECT_EQ(list.GetHead()->GetDeuterium(), 300u);

    list.AddColony("Beta", 1, 2, 3);
    list.MoveNext();
    ASSERT_EQ(list.GetCurrent()->GetName(), "Beta");
    list.AddColony("Gamma", 4, 5, 6);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list.GetCurrent(), list.GetHead());
    EXPECT_EQ(NodeAt(list, 2)->GetNext(), nullptr);
}

TEST(ColonyList, FindIsExactCaseSensitiveAndFindsTheFirstOfDuplicates)
{
    CList list;
    AddThree(list);
    list.AddColony("Beta", 999, 999, 999);
    EXPECT_EQ(list.GetCount(), 4u);

    CNode* before = list.GetCurrent();
    EXPECT_EQ(list.FindColony("Beta"), NodeAt(list, 1));
    EXPECT_EQ(list.FindColony("Gamma"), NodeAt(list, 2));
    EXPECT_EQ(list.GetCurrent(), before);

    for (const char* miss : {"alpha", "ALPHA", "Alpha ", " Alpha", "Alph", "Alphas", ""})
    {
        EXPECT_EQ(list.FindColony(miss), nullptr) << '"' << miss << '"';
    }
}

TEST(ColonyList, FindComparesEveryByte)
{
    CList list;
    list.AddColony(std::string("a\0b", 3), 1, 1, 1);
    EXPECT_EQ(list.FindColony("a"), nullptr);
    EXPECT_NE(list.FindColony(std::string("a\0b", 3)), nullptr);
}

TEST(ColonyList, RemoveUnlinksAnyNodeAndPutsTheCursorOnTheHead)
{
    struct Case
    {
        int index;
        std::vector<std::string> left;
    };
    for (const Case& c :
         {Case{0, {"Beta", "Gamma"}}, Case{1, {"Alpha", "Gamma"}}, Case{2, {"Alpha", "Beta"}}})
    {
        CList list;
        AddThree(list);
        list.MoveNext();
        list.RemoveColony(NodeAt(list, c.index));
        EXPECT_EQ(Names(list), c.left) << "removed index " << c.index;
        EXPECT_EQ(list.GetCount(), 2u);
        EXPECT_EQ(list.GetCurrent(), list.GetHead());
        EXPECT_EQ(NodeAt(list, 1)->GetNext(), nullptr);

        // The list keeps appending at its new end.
        list.AddColony("Delta", 0, 0, 0);
        std::vector<std::string> expected = c.left;
        expected.push_back("Delta");
        EXPECT_EQ(Names(list), expected);
    }
}

TEST(ColonyList, RemovingTheOnlyNodeEmptiesTheList)
{
    CList list;
    list.AddColony("Solo", 1, 2, 3);
    list.RemoveColony(list.GetHead());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetCurrent(), nullptr);

    list.AddColony("Again", 1, 2, 3);
    EXPECT_EQ(Names(list), std::vector<std::string>{"Again"});
}

TEST(ColonyList, RemoveIgnoresNodesItDoesNotHold)
{
    CList list;
    AddThree(list);
    CList other;
    other.AddColony("Stranger", 1, 1, 1);
    CNode loose;

    list.RemoveColony(other.GetHead());
    list.RemoveColony(&loose);
    list.RemoveColony(nullptr);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(Names(other), std::vector<std::string>{"Stranger"});
}

TEST(ColonyList, CursorWrapsAroundBothWays)
{
    CList list;
    AddThree(list);
    std::vector<std::string> forward;
    for (int i = 0; i < 4; ++i)
    {
        list.MoveNext();
        forward.push_back(list.GetCurrent()->GetName());
    }
    EXPECT_EQ(forward, (std::vector<std::string>{"Beta", "Gamma", "Alpha", "Beta"}));

    std::vector<std::string> backward;
    for (int i = 0; i < 4; ++i)
    {
        list.MovePrev();
        backward.push_back(list.GetCurrent()->GetName());
    }
    EXPECT_EQ(backward, (std::vector<std::string>{"Alpha", "Gamma", "Beta", "Alpha"}));
}

TEST(ColonyList, CursorStaysOnASingleNode)
{
    CList list;
    list.AddColony("Solo", 1, 2, 3);
    list.MoveNext();
    EXPECT_EQ(list.GetCurrent(), list.GetHead());
    list.MovePrev();
    EXPECT_EQ(list.GetCurrent(), list.GetHead());
}

TEST(ColonyList, CursorOperationsOnAnEmptyListDoNothing)
{
    CList list;
    list.MoveNext();
    list.MovePrev();
    list.SetCurrentName("Ghost");
    list.SetCurrentMetal(1);
    list.SetCurrentCrystal(1);
    list.SetCurrentDeuterium(1);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetCurrent(), nullptr);
}

TEST(ColonyList, SetCurrentAcceptsOnlyNodesOfThisList)
{
    CList list;
    AddThree(list);
    list.SetCurrent(NodeAt(list, 2));
    EXPECT_EQ(list.GetCurrent(), NodeAt(list, 2));

    CList other;
    other.AddColony("Stranger", 1, 1, 1);
    list.SetCurrent(other.GetHead());
    list.SetCurrent(nullptr);
    EXPECT_EQ(list.GetCurrent(), NodeAt(list, 2));
}

TEST(ColonyList, CursorSettersChangeOnlyTheCursorNode)
{
    CList list;
    AddThree(list);
    list.SetCurrent(NodeAt(list, 1));
    list.SetCurrentName("Alpha");
    list.SetCurrentMetal(4294967295u);
    list.SetCurrentCrystal(0);
    list.SetCurrentDeuterium(7);

    EXPECT_EQ(list.GetCurrent(), NodeAt(list, 1));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha", "Alpha", "Gamma"}));
    const CNode* changed = NodeAt(list, 1);
    EXPECT_EQ(changed->GetMetal(), 4294967295u);
    EXPECT_EQ(changed->GetCrystal(), 0u);
    EXPECT_EQ(changed->GetDeuterium(), 7u);
    EXPECT_EQ(NodeAt(list, 0)->GetMetal(), 100u);
    EXPECT_EQ(NodeAt(list, 2)->GetMetal(), 300u);
    EXPECT_EQ(list.FindColony("Alpha"), NodeAt(list, 0));
}

TEST(ColonyList, TotalsSumEachResourceModulo2To32)
{
    CList list;
    AddThree(list);
    EXPECT_EQ(list.GetTotalMetal(), 600u);
    EXPECT_EQ(list.GetTotalCrystal(), 60u);
    EXPECT_EQ(list.GetTotalDeuterium(), 6u);

    CList wrapping;
    wrapping.AddColony("Max", 4294967295u, 4294967295u, 2);
    wrapping.AddColony("One", 1, 4294967295u, 3);
    EXPECT_EQ(wrapping.GetTotalMetal(), 0u);
    EXPECT_EQ(wrapping.GetTotalCrystal(), 4294967294u);
    EXPECT_EQ(wrapping.GetTotalDeuterium(), 5u);
}

TEST(ColonyList, RemoveAllEmptiesAListOfAnyLength)
{
    for (int length : {0, 1, 2, 9, 100})
    {
        CList list;
        for (int i = 0; i < length; ++i)
        {
            list.AddColony("C" + std::to_string(i), 1, 1, 1);
        }
        list.RemoveAll();
        EXPECT_TRUE(list.IsEmpty()) << length;
        EXPECT_EQ(list.GetCount(), 0u);
        EXPECT_EQ(list.GetHead(), nullptr);
        EXPECT_EQ(list.GetCurrent(), nullptr);
        list.AddColony("After", 1, 1, 1);
        EXPECT_EQ(Names(list), std::vector<std::string>{"After"});
    }
}

TEST(ColonyList, GlobalListStartsEmpty)
{
    EXPECT_TRUE(g_ColonyList.IsEmpty());
    EXPECT_EQ(g_ColonyList.GetCurrent(), nullptr);
}
