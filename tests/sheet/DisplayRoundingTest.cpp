// Number cells show their values rounded as spreadsheets show them, in any process locale.

#include <sheet/Value.h>

#include <gtest/gtest.h>

TEST(DisplayRounding, halfAwayFromZeroAfterFifteenDigits) {
    const struct {
        double v;
        int decimals;
        const char* shown;
    } cases[] = {
        {7.25, 1, "7.3"},
        {-7.25, 1, "-7.3"},
        {1.005, 2, "1.01"},
        {2.5, 0, "3"},
        {0.125, 2, "0.13"},
        {1234.5678, 2, "1234.57"},
        {-0.001, 2, "0.00"},
        {1e20, 2, "100000000000000000000.00"},
        {0.1 + 0.2, 15, "0.300000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sheet::formatFixed(c.v, c.decimals, false), c.shown) << c.v << " with " << c.decimals;
    EXPECT_EQ(sheet::formatFixed(12500.5, 2, true), "12,500.50");
}
