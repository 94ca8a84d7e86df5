#include <host/VorJson.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

using nlohmann::json;

TEST(VorJson, hostValuesRoundTrip) {
    Vor_PropertiesList p;
    p.setProperty("nrOfControls", 2);
    p.setProperty("topLeftX0", 0.1);
    p.setProperty("contents0", "ä\n\"x\"");
    const json j = p;
    EXPECT_EQ(j.dump(), R"([{"name":"nrOfControls","type":"int","value":2},)"
                        R"({"name":"topLeftX0","type":"double","value":0.1},)"
                        R"({"name":"contents0","type":"text","value":"ä\n\"x\""}])");
    EXPECT_EQ(json::parse(j.dump()).get<Vor_PropertiesList>(), p);

    const Vor_Array<Vor_StringArray> rows{{"a", "b"}, {}, {"ä"}};
    EXPECT_EQ(json(rows).get<Vor_Array<Vor_StringArray>>(), rows);
    const Vor_Array<int> ids{3, 1};
    EXPECT_EQ(json(ids).get<Vor_Array<int>>(), ids);
}

TEST(VorJson, badPropertyListsAreRefusedWithAReason) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"name":"a"})", "must be an array"},
        {R"([{"name":"a","type":"int","value":1.5}])", "'a' needs an int value"},
        {R"([{"name":"a","type":"int","value":3000000000}])", "'a' needs an int value"},
        {R"([{"name":"a","type":"double","value":"1"}])", "'a' needs a number"},
        {R"([{"name":"a","type":"bool","value":true}])", "unknown type 'bool'"},
        {R"([{"name":"a","type":"int","value":1},{"name":"a","type":"int","value":2}])",
         "'a' is given twice"},
        {R"([{"name":"","type":"int","value":1}])", "needs a name"},
        {R"([{"type":"int","value":1}])", "'name' not found"},
    };
    for (const auto& [text, reason] : cases) {
        try {
            json::parse(text).get<Vor_PropertiesList>();
            ADD_FAILURE() << "accepted: " << text;
        } catch (const json::exception& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    }
}

TEST(VorJson, aDoubleWithoutNumberTextIsRefused) {
    // A JSON text cannot spell an infinity, but a document built in code can hold one.
    const json list = json::array(
        {{{"name", "a"}, {"type", "double"}, {"value", std::numeric_limits<double>::infinity()}}});
    try {
        list.get<Vor_PropertiesList>();
        ADD_FAILURE() << "an infinity was accepted";
    } catch (const json::exception& e) {
        EXPECT_NE(std::string(e.what()).find("'a' needs a finite number"), std::string::npos) << e.what();
    }
}

TEST(VorJson, integersFromOutsideAreRangeCheckedNeverConverted) {
    const struct {
        const char* text;
        long long lo, hi;
        bool accepted;
        long long value;
        const char* why;
    } cases[] = {
        {"1e20", 0, 0xFFFFFFFF, false, 0, "a double beyond 32 bits"},
        {"-1e20", LLONG_MIN, LLONG_MAX, false, 0, "a double beyond 64 bits"},
        {"9223372036854775808", LLONG_MIN, LLONG_MAX, false, 0, "one past long long, unsigned in JSON"},
        {"9.223372036854775807e18", LLONG_MIN, LLONG_MAX, false, 0, "rounds to 2^63, one past"},
        {"-9223372036854775808", LLONG_MIN, LLONG_MAX, true, LLONG_MIN, "the smallest long long"},
        {"inf", LLONG_MIN, LLONG_MAX, false, 0, "an infinity (only a document built in code holds one)"},
        {"2.5", 0, 10, false, 0, "a fraction"},
        {"4.0", 0, 10, true, 4, "a whole number written as a float"},
        {"-0.0", 0, 10, true, 0, "minus zero is zero"},
        {"0", 1, 10, false, 0, "below the range, unsigned in JSON"},
        {"-1", 0, 10, false, 0, "below the range"},
        {"11", 0, 10, false, 0, "above the range"},
        {"\"5\"", 0, 10, false, 0, "a text"},
        {"true", 0, 10, false, 0, "a boolean"},
        {"null", 0, 10, false, 0, "nothing"},
    };
    for (const auto& c : cases) {
        const json v = std::string(c.text) == "inf" ? json(HUGE_VAL) : json::parse(c.text);
        try {
            const long long n = jsonInteger(v, "field", c.lo, c.hi);
            EXPECT_TRUE(c.accepted) << c.text << ": " << c.why;
            EXPECT_EQ(n, c.value) << c.why;
        } catch (const json::exception& e) {
            EXPECT_FALSE(c.accepted) << c.text << ": " << c.why << "; " << e.what();
            EXPECT_NE(std::string(e.what()).find("field: "), std::string::npos)
                << "the error names the field";
        }
    }
}

TEST(VorJson, membersAndArraysKeepToTheirType) {
    const json in = json::parse(R"({"small": 300, "ok": 7, "ids": [1, 4294967296]})");
    EXPECT_EQ(jsonMember<std::uint8_t>(in, "missing", 9), 9) << "a missing member gives the fallback";
    EXPECT_EQ(jsonMember<std::uint8_t>(in, "ok", 9), 7);
    EXPECT_THROW(jsonMember<std::uint8_t>(in, "small", 0), json::exception) << "300 is no byte";
    EXPECT_THROW(jsonMember<int>(in, "ok", 0, 0, 5), json::exception) << "a narrower range of the caller";
    EXPECT_EQ(jsonMember<unsigned long long>(json::parse(R"({"u": 9223372036854775807})"), "u", 0ull),
              9223372036854775807ull);
    EXPECT_THROW(in.at("ids").get<Vor_Array<int>>(), json::exception) << "an item beyond int";
    EXPECT_THROW(json::parse("[1.5]").get<Vor_Array<int>>(), json::exception) << "an item with a fraction";
}
