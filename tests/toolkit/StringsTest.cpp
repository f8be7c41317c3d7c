#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/Cp932.h"
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

// Lines are stored in shared blocks: whatever is added, replaced, deleted or copied, in whatever
// order, the list must read back as a plain vector of strings would.
TEST(Strings, ReadsBackAsAVectorThroughEveryChange)
{
    std::mt19937 random(20261207);
    auto pick = [&](size_t n) { return static_cast<int>(random() % n); };
    // Lengths around the steps of the stored length and beyond a block; bytes of every value.
    const size_t lengths[] = {0, 1, 15, 127, 128, 129, 16383, 16384};
    auto newLine = [&] {
        std::string line(pick(40) == 0 ? 300000 : lengths[pick(std::size(lengths))], 'a');
        for (size_t i = 0; i < line.size() && i < 64; ++i)
            line[i] = static_cast<char>(random() % 4 == 0 ? random() : 'a' + random() % 3);
        return line;
    };
    auto before = [](const std::string& a, const std::string& b) { return platform::CompareText(a, b) < 0; };

    tk::Strings list;
    Lines model;
    auto added = [&](const std::string& line) {
        if (list.Sorted())
            model.insert(std::upper_bound(model.begin(), model.end(), line, before), line);
        else
            model.push_back(line);
    };
    for (int step = 0; step < 3000; ++step) {
        int count = static_cast<int>(model.size());
        // A line of the list itself is added as often as a new one.
        std::string line = count > 0 && pick(2) == 0 ? model[pick(count)] : newLine();
        std::string_view own = count > 0 ? list[pick(count)] : std::string_view();
        // Every thousand steps the list grows, then mostly shrinks, leaving much of its storage unused.
        bool shrinking = step % 1000 >= 600 && pick(3) > 0;
        switch (shrinking ? 4 : pick(list.Sorted() ? 6 : 8)) {
        case 0:
        case 1:
            list.Add(line);
            added(line);
            break;
        case 2:
            if (count > 0) {
                std::string copy(own);
                list.Add(own);
                added(copy);
            }
            break;
        case 3:
            if (count > 0) {
                int index = pick(count);
                list.Set(index, line);
                model[index] = line;
                if (list.Sorted())
                    std::stable_sort(model.begin(), model.end(), before);
            }
            break;
        case 4:
        case 5:
            if (count > 0) {
                int index = pick(count);
                list.Delete(index);
                model.erase(model.begin() + index);
            }
            break;
        case 6:
            if (count > 0) {
                int index = pick(count + 1);
                std::string copy(own);
                list.Insert(index, own);
                model.insert(model.begin() + index, copy);
            }
            break;
        case 7: {
            Lines more{newLine(), line, newLine()};
            tk::Strings taken;
            taken.AddStrings(more);
            list.AddStrings(std::move(taken));
            model.insert(model.end(), more.begin(), more.end());
            EXPECT_TRUE(taken.Empty());
            break;
        }
        }
        if (step % 500 == 499) {
            // A copy is whole and goes its own way.
            tk::Strings copy = list;
            list.Clear();
            EXPECT_EQ(copy.Items(), model);
            list = copy;
            if (!copy.Empty())
                copy.Set(0, "changed");
            list.SetSorted(!list.Sorted());
            if (list.Sorted())
                std::stable_sort(model.begin(), model.end(), before);
        }
        ASSERT_EQ(list.Count(), static_cast<int>(model.size())) << "step " << step;
    }
    EXPECT_EQ(list.Items(), model);
    EXPECT_EQ(list.Text().size(), [&] {
        size_t size = 0;
        for (const std::string& line : model)
            size += line.size() + 2;
        return size;
    }());
}

}  // namespace
