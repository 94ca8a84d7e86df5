// The table's variables as a person types them in the grid of names and values.
#include "calc/TableVariables.h"

#include <gtest/gtest.h>

namespace {

TEST(TableVariables, rowsBecomeVariablesOrSayWhichRowIsAtFault) {
    using Rows = Vor_Array<Vor_StringArray>;
    struct Case {
        Rows rows;
        VariableFault fault;
        int row;
        Vor_StringArray names, values;
        const char* why;
    } cases[] = {
        {Rows{{" Project ", "Hal 4"}, {"Datum", " 8 dec "}},
         VariableFault::None,
         0,
         {"Project", "Datum"},
         {"Hal 4", " 8 dec "},
         "names trimmed, values as typed"},
        {Rows{{"", ""}, {"Project", ""}, {" ", ""}},
         VariableFault::None,
         0,
         {"Project"},
         {""},
         "empty rows are left out, an empty value is a value"},
        {Rows{{"Project", "a"}, {"", "b"}}, VariableFault::NoName, 2, {}, {}, "a value without a name"},
        {Rows{{"Project", "a"}, {"PROJECT", "b"}},
         VariableFault::Repeated,
         2,
         {},
         {},
         "names differing only in case clash, as placeholders ignore case"},
        {Rows{{"50%", "a"}}, VariableFault::Percent, 1, {}, {}, "a % would end the placeholder"},
        {Rows{{"Project"}}, VariableFault::None, 0, {"Project"}, {""}, "a short row has an empty value"},
    };
    for (const Case& k : cases) {
        Vor_StringArray names{"oud"}, values{"oud"};
        const VariableCheck c = takeVariables(k.rows, names, values);
        EXPECT_EQ(c.fault, k.fault) << k.why;
        EXPECT_EQ(c.row, k.row) << k.why;
        if (k.fault == VariableFault::None) {
            EXPECT_EQ(names, k.names) << k.why;
            EXPECT_EQ(values, k.values) << k.why;
        } else {
            EXPECT_EQ(names, Vor_StringArray{"oud"}) << k.why << ": nothing changes";
        }
    }
    const Rows back = variableRows(Vor_StringArray{"A", "B"}, Vor_StringArray{"1"});
    ASSERT_EQ(back.length(), 2);
    EXPECT_EQ(back[1], (Vor_StringArray{"B", ""})) << "a name without its value shows an empty one";
}

} // namespace
