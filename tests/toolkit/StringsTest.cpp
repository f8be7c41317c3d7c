#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/Strings.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Strings, SortedInsertionIgnoresCaseAndKeepsEqualEntriesInArrivalOrder)
{
    tk::Strings list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetSorted(true);
    EXPECT_EQ(list.Add("beta"), 0);
    EXPECT_EQ(list.Add("Alpha"), 0);
    EXPECT_EQ(list.Add("BETA"), 2);   // after the equal "beta"
    EXPECT_EQ(list.Add("alpha"), 1);  // after the equal "Alpha"
    EXPECT_EQ(list.Add("Delta"), 4);
    list.Insert(0, "Gamma");          // a sorted list puts it in its place
    EXPECT_EQ(list.Items(), (Lines{"Alpha", "alpha", "beta", "BETA", "Delta", "Gamma"}));
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(list.IndexOf("BETA"), 3);
    EXPECT_EQ(list.IndexOf("Beta"), -1);  // the search is exact
}

TEST(Strings, AddingManyAtOnceGivesTheOrderOfAddingOneByOne)
{
    const Lines existing{"beta", "Alpha", "delta"};
    // Lines alike in their first bytes, two-byte characters among them, are ordered by the rest.
    const Lines added{"BETA", "alpha", "Gamma", "Beta", "ALPHA", "c", "TFormX.Zed;", "tformx.alpha;",
                      "TFORMX.Alpha;", "TForm", "\x82\xa0\x82\xa2" "b", "\x82\xa0\x82\xa2" "A", "\x82\xa0"};
    for (bool sorted : {true, false}) {
        tk::Strings one;
        tk::Strings many;
        one.SetSorted(sorted);
        many.SetSorted(sorted);
        for (const std::string& line : existing) {
            one.Add(line);
            many.Add(line);
        }
        for (const std::string& line : added)
            one.Add(line);
        int changes = 0;
        many.OnChange = [&] { ++changes; };
        many.AddStrings(added);
        EXPECT_EQ(many.Items(), one.Items()) << "sorted " << sorted;
        EXPECT_EQ(changes, 1);
    }
}

TEST(Strings, TurningSortingOnIsAStableSort)
{
    tk::Strings list;
    list.Assign({"b2", "A", "B2", "a", "c", "b2"});
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetSorted(true);
    EXPECT_EQ(list.Items(), (Lines{"A", "a", "b2", "B2", "b2", "c"}));
    EXPECT_EQ(changes, 1);
    list.Set(0, "z");
    EXPECT_EQ(list.Items(), (Lines{"a", "b2", "B2", "b2", "c", "z"}));
}

TEST(Strings, TextSplitsOnEveryLineBreakAndJoinsWithCrLf)
{
    tk::Strings list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetText("one\r\ntwo\nthree\rfour\r\n\r\nsix");
    EXPECT_EQ(list.Items(), (Lines{"one", "two", "three", "four", "", "six"}));
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n");
    list.SetText("last\r\n");
    EXPECT_EQ(list.Items(), (Lines{"last"}));
    list.SetText("");
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Text(), "");
    EXPECT_EQ(changes, 3);

    list.Assign({"a", "b", "c"});
    list.Delete(1);
    list.Insert(2, "d");
    EXPECT_EQ(list.Items(), (Lines{"a", "c", "d"}));
    EXPECT_THROW(list.Delete(3), std::out_of_range);
    EXPECT_THROW(list.Insert(5, "x"), std::out_of_range);
    list.Clear();
    list.Clear();  // nothing to clear: no change
    EXPECT_EQ(changes, 7);
}

// A front end shows a list again when its revision differs from the one shown.
TEST(Strings, EveryChangeGivesARevisionNoOtherStateHas)
{
    tk::Strings list;
    std::vector<uint64_t> seen{list.Revision()};
    auto changed = [&] {
        bool fresh = std::find(seen.begin(), seen.end(), list.Revision()) == seen.end();
        seen.push_back(list.Revision());
        return fresh;
    };
    list.Add("b");
    EXPECT_TRUE(changed());
    list.AddStrings({"a", "c"});
    EXPECT_TRUE(changed());
    list.Set(0, "x");
    EXPECT_TRUE(changed());
    list.SetSorted(true);
    EXPECT_TRUE(changed());
    list.Delete(0);
    EXPECT_TRUE(changed());
    uint64_t before = list.Revision();
    EXPECT_EQ(list.Items(), (Lines{"c", "x"}));
    list.SetSorted(true);  // already sorted: no change
    EXPECT_EQ(list.Revision(), before);

    // Another list with the lines another list had is not taken for the one shown.
    tk::Strings other;
    other.Assign({"a", "c"});
    list = other;
    EXPECT_EQ(list.Revision(), other.Revision());
    EXPECT_TRUE(changed());
    list.Clear();
    EXPECT_TRUE(changed());
}

}  // namespace
