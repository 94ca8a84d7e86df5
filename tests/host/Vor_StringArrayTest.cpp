#include <host/Vor_Array.h>
#include <host/Vor_StringArray.h>

#include <gtest/gtest.h>

TEST(Vor_StringArray, findTakesCaseFlagAndStartIndex) {
    const Vor_StringArray a{"HEA", "hea", "IPE", "Äb"};
    int index = -1;
    EXPECT_TRUE(a.find("hea", index));
    EXPECT_EQ(index, 1) << "case-sensitive by default";
    EXPECT_TRUE(a.find("hea", index, false));
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(a.find("äB", index, false));
    EXPECT_EQ(index, 3);
    EXPECT_TRUE(a.find("HEA", index, false, 1));
    EXPECT_EQ(index, 1);
    index = 42;
    EXPECT_FALSE(a.find("HEB", index));
    EXPECT_EQ(index, 42) << "index untouched when nothing found";
    EXPECT_TRUE(a.contains("ipe", false));
    EXPECT_FALSE(a.contains("ipe"));
}

TEST(Vor_Array, badIndexesChangeNothing) {
    Vor_Array<int> a{1, 2, 3};
    EXPECT_FALSE(a.insertAt(4, 9));
    EXPECT_FALSE(a.insertAt(-1, 9));
    EXPECT_FALSE(a.removeAt(3));
    EXPECT_FALSE(a.removeAt(-1));
    EXPECT_EQ(a, (Vor_Array<int>{1, 2, 3}));
    EXPECT_TRUE(a.insertAt(3, 4)) << "inserting at the length appends";
    EXPECT_TRUE(a.removeAt(0));
    EXPECT_EQ(a, (Vor_Array<int>{2, 3, 4}));
    a.setLogicalLength(5);
    EXPECT_EQ(a, (Vor_Array<int>{2, 3, 4, 0, 0}));
    a.setLogicalLength(-1);
    EXPECT_TRUE(a.isEmpty());
    EXPECT_THROW(a.at(0), std::out_of_range);

    Vor_Array<bool> flags;
    flags.append(true).append(false);
    flags[1] = true;
    EXPECT_TRUE(flags[1]);
}

TEST(Vor_Array, nestedArraysCopyDeep) {
    Vor_Array<Vor_StringArray> rows;
    rows.append(Vor_StringArray{"a", "b"});
    Vor_Array<Vor_StringArray> copy = rows;
    copy[0][1] = "changed";
    EXPECT_EQ(rows[0][1], "b");
    EXPECT_FALSE(copy == rows);
}
