#include <sheet/Sheet.h>

#include <gtest/gtest.h>

using namespace sheet;

TEST(Formula, smoke) {
    Sheet s;
    s.setMaxCols(5);
    s.setMaxRows(5);
    s.setData(1, 1, "2");
    ASSERT_TRUE(s.setFormula(1, 2, "=A1*3+1"));
    EXPECT_EQ(s.data(1, 2), "7");
}
