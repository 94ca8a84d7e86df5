#include <host/VorJson.h>

#include <gtest/gtest.h>

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
