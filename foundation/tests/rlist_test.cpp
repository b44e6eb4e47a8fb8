#include "foundation/rlist.h"
#include "support/support.h"
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

int* block(int v)
{
    int* p = static_cast<int*>(std::malloc(sizeof(int)));
    *p = v;
    return p;
}

// An element whose release is observable.
struct Tracked {
    static std::vector<int>& released()
    {
        static std::vector<int> r;
        return r;
    }
    int id;
    explicit Tracked(int i) : id(i) {}
    ~Tracked() { released().push_back(id); }
};

} // namespace

TEST(RList, GrowsByDeltaOnlyWhenFull)
{
    BoxCapture boxes;
    RList list(4, 2, 1, "grow");
    for (int i = 0; i < 4; ++i)
        list.Add(block(i));
    EXPECT_EQ(list.Limit(), 4);
    list.Add(block(4));
    EXPECT_EQ(list.Limit(), 6);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(*static_cast<int*>(list.GetAt(4)), 4);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(RList, InsertOrderAndFarIndexAppends)
{
    RList list(2, 2, 1);
    list.Add(block(1));
    list.Add(block(3));
    list.Insert(block(2), 1);
    list.Insert(block(9), 1000);
    std::vector<int> seen;
    for (int16_t i = 0; i < list.Count(); ++i)
        seen.push_back(*static_cast<int*>(list.GetAt(i)));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 9}));
}

TEST(RList, RemoveOfTwiceHeldAddressReleasesOnceAndFirstSlotOnly)
{
    RList list(4, 2, 0);
    int* shared = block(7);
    int* other = block(8);
    list.Add(shared);
    list.Add(other);
    list.Add(shared);
    list.Remove(shared);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetAt(0), other);
    EXPECT_EQ(list.GetAt(1), shared);  // the dangling second slot is the caller's business
    list.Detach(shared);
    list.Remove(other);
    EXPECT_EQ(list.Count(), 0);
}

TEST(RList, BadIndexShowsTheBoxAndTouchesNothing)
{
    BoxCapture boxes;
    RList list(4, 2, 1, "Machines");
    list.Add(block(1));
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetAt(1), nullptr);
    int* refused = block(5);
    list.SetAt(refused, 3);  // refused: the block stays ours
    std::free(refused);
    list.RemoveAt(1);
    list.FreeAt(5);
    EXPECT_EQ(list.Count(), 1);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].caption, "List Error");
    EXPECT_EQ(shown[0].text, "List Name : Machines[1] \nLimit = 4\nDelta =2\nOwner = 1\nIndex = -1\n");
    EXPECT_EQ(shown[4].text, "List Name : Machines[1] \nLimit = 4\nDelta =2\nOwner = 1\nIndex = 5\n");
}

TEST(RList, RemoveOfAbsentElementNamesIndexMinusOne)
{
    BoxCapture boxes;
    RList list(4, 2, 0);
    int absent = 0;
    list.Add(block(1));
    list.Remove(&absent);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "List Name : Unknown[1] \nLimit = 4\nDelta =2\nOwner = 0\nIndex = -1\n");
    EXPECT_EQ(list.Count(), 1);
    list.Clear();
}

TEST(RList, GrowthThatCannotHappenRefusesTheInsert)
{
    struct Case {
        int16_t limit, delta;
        const char* why;
    };
    const Case cases[] = {
        {1, 0, "delta 0"},
        {1, -3, "negative delta"},
        {32767, 5, "limit + delta past int16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        BoxCapture boxes;
        RList list(c.limit, c.delta, 0, "full");
        std::vector<int> values(static_cast<size_t>(c.limit) + 1);
        for (int16_t i = 0; i < c.limit; ++i)
            list.Add(&values[static_cast<size_t>(i)]);
        list.Add(&values.back());
        EXPECT_EQ(list.Count(), c.limit);
        EXPECT_EQ(list.Limit(), c.limit);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, "List Name : full[0 TO " + std::to_string(c.limit - 1) +
                                             "] \nLimit = " + std::to_string(c.limit) + "\nDelta =" +
                                             std::to_string(c.delta) + "\nOwner = 0\n");
    }
}

TEST(RList, NameIsCutTo78Characters)
{
    BoxCapture boxes;
    const std::string name(100, 'n');
    RList list(1, 1, 0, name.c_str());
    EXPECT_EQ(std::string(list.Name()), std::string(78, 'n'));
    list.GetAt(0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text.substr(0, 12 + 78 + 1), "List Name : " + std::string(78, 'n') + "[");
}

TEST(RList, CursorWalksAndWrapsAfterTheLast)
{
    RList list(3, 1, 1);
    list.Add(block(1));
    list.Add(block(2));
    list.Add(block(3));
    std::vector<int> seen;
    plat::BOOL last = plat::FALSE;
    ASSERT_TRUE(list.First());
    do
        seen.push_back(*static_cast<int*>(list.Next(last)));
    while (!last);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    // Wrapped: a new walk starts without First.
    EXPECT_EQ(*static_cast<int*>(list.Next(last)), 1);
    EXPECT_FALSE(last);
    RList empty(1, 1, 0);
    EXPECT_FALSE(empty.First());
}

TEST(RTypedList, OwningListReleasesAsTypeLastToFirst)
{
    Tracked::released().clear();
    {
        RTypedList<Tracked> list(2, 2, 1, "RJob.Inputs");
        list.Add(new Tracked(1));
        list.Add(new Tracked(2));
        list.Add(new Tracked(3));
        EXPECT_EQ(list.Item(1)->id, 2);
    }
    EXPECT_EQ(Tracked::released(), (std::vector<int>{3, 2, 1}));
}

TEST(RTypedList, NonOwningListFreesOnlyItsSlots)
{
    Tracked::released().clear();
    Tracked a(1);
    Tracked b(2);
    {
        RTypedList<Tracked> list(2, 2, 0);
        list.Add(&a);
        list.Add(&b);
    }
    EXPECT_TRUE(Tracked::released().empty());
}

TEST(RTypedList, ClearAndRemoveReleaseWhateverTheOwnerFlag)
{
    Tracked::released().clear();
    RTypedList<Tracked> list(2, 2, 0);
    auto* kept = new Tracked(1);
    auto* gone = new Tracked(2);
    list.Add(kept);
    list.Add(gone);
    list.Add(new Tracked(3));
    list.Remove(gone);
    EXPECT_EQ(Tracked::released(), (std::vector<int>{2}));
    list.Clear();
    EXPECT_EQ(Tracked::released(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Limit(), 4);  // never shrinks
}
