// The drawing file: save and open give the same drawing; faulty and hostile files are refused with
// the line named, and the current drawing stays as it was.

#include "DrawingSample.h"

#include <cad/DrawingFile.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace cad;
namespace fs = std::filesystem;

namespace {

struct DrawingFileTest : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vor-drawing-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        curDrawing().clear();
    }
    void TearDown() override {
        curDrawing().clear();
        fs::remove_all(dir);
    }
    std::string write(const std::string& name, const std::string& bytes) {
        std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(DrawingFileTest, saveAndOpenGiveTheSameDrawing) {
    Drawing d;
    cadtest::addSampleMacro(d);
    AcDbObjectId last = d.add(cadtest::entity(CoordSysEntity{}, "Ünïcode \"quoted\" \\ name"));
    d.erase(last); // the highest id is gone, but is not given again after opening
    d.addTemporary(cadtest::entity(CoordSysEntity{}, "preview"));
    d.changeView(Vector3d{0.1, -2.5e-7, 3});
    std::string path = (dir / "Kopplaat.dwg").string();
    std::string error;
    ASSERT_TRUE(saveDrawing(d, path, &error)) << error;
    d.clearTemporary();

    Drawing back;
    ASSERT_TRUE(loadDrawing(path, back, &error)) << error;
    EXPECT_TRUE(back.sameContent(d)) << "entities, ids, properties, owners and the view come back\n"
                                     << drawingText(back) << "\n----\n"
                                     << drawingText(d);
    EXPECT_TRUE(back.findByName("preview").isNull()) << "temporary entities are not saved";
    EXPECT_GT(back.add(cadtest::entity(CoordSysEntity{})).handle(), last.handle())
        << "new ids go on above every id the file held, also erased ones";
    EXPECT_EQ(back.get(back.findByName("C2"))->owner, back.findByName("M1.sub"));

    std::vector<DrawingChange> heard;
    int token = curDrawing().addListener([&](const DrawingChange& c) { heard.push_back(c); });
    EXPECT_FALSE(openDrawing(write("broken.dwg", "VORLANE DRAWING 1\ngroup id=x\n"), &error));
    EXPECT_TRUE(heard.empty()) << "a refused file is no change";
    ASSERT_TRUE(openDrawing(path, &error)) << error;
    EXPECT_TRUE(curDrawing().sameContent(d)) << "open replaces the current drawing";
    ASSERT_EQ(heard.size(), 1u) << "the current drawing's listeners stay and hear of the new content";
    EXPECT_EQ(heard[0].kind, DrawingChange::Replaced);
    EXPECT_EQ(heard[0].ids, d.ids());
    curDrawing().removeListener(token);

    std::string text = drawingText(d);
    text.insert(0, "\xEF\xBB\xBF");
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.replace(at, 1, "\r\n");
    text += "# a comment\n\n   \n";
    Drawing windows;
    EXPECT_TRUE(readDrawingText(text, windows, "w.dwg", &error))
        << "byte order mark, CR LF, comments: " << error;
    EXPECT_TRUE(windows.sameContent(d));
}

TEST_F(DrawingFileTest, theSeedOfTheFuzzTargetReads) {
    Drawing d;
    std::string error;
    ASSERT_TRUE(loadDrawing(VOR_SOURCE_DIR "/fuzz/corpus/drawing/macro.dwg", d, &error)) << error;
    EXPECT_EQ(d.size(), 10u);
    EXPECT_EQ(d.allMembers(d.findByName("M1")).size(), 9u);
    EXPECT_EQ(d.nextId(), 12);
}

TEST_F(DrawingFileTest, faultyFilesAreRefusedWithTheLineNamed) {
    const std::string sig = "VORLANE DRAWING 1\n";
    std::string deep = sig;
    for (int i = 1; i <= 18; ++i) // the 18th has 17 owners above it
        deep += "group id=" + std::to_string(i) + (i > 1 ? " owner=" + std::to_string(i - 1) : "") + "\n";
    std::string manyPoints = sig + "bolts id=1 positions=0,0,0";
    for (int i = 0; i < 10000; ++i)
        manyPoints += ";0,0,0";
    struct Case {
        std::string text;
        int line;
        const char* message;
        const char* why;
    } cases[] = {
        {std::string("AC1018\0\0\0\x1f\x8b", 11), 1, "a DWG drawing (AC1018)", "a real DWG"},
        {"", 1, "empty file", "nothing at all"},
        {"<?xml version=\"1.0\"?>\n", 1, "not a Vorlane drawing", "another file"},
        {"VORLANE DRAWING 2\n", 1, "newer version", "a later format"},
        {sig + "circle id=1\n", 2, "unknown record \"circle\"", "a record we do not know"},
        {sig + "profile owner=1\n", 2, "has no id", "every entity has its id"},
        {sig + "group id=1\ngroup id=1\n", 3, "not new", "an id given twice"},
        {sig + "group id=0\n", 2, "1 to 2^48-1", "no id 0"},
        {sig + "group id=281474976710656\n", 2, "1 to 2^48-1", "id budget"},
        {sig + "group id=-3\n", 2, "1 to 2^48-1", "no negative id"},
        {sig + "profile id=2 owner=1\ngroup id=1\n", 2, "not defined above", "owners come first"},
        {sig + "coordsys id=1\nprofile id=2 owner=1\n", 3, "is no group", "only groups own"},
        {sig + "group id=9\nprofile id=5 owner=9\n", 3, "no lower id",
         "owners are made first (the writer's order)"},
        {deep, 19, "nested more than 16", "nesting budget"},
        {sig + "profile id=1 start=1e10,0,0\n", 2, "start is not three numbers", "coordinate budget"},
        {sig + "profile id=1 start=nan,0,0\n", 2, "start is not three numbers", "NaN is no number"},
        {sig + "profile id=1 start=1,2\n", 2, "start is not three numbers", "a point needs three"},
        {sig + "profile id=1 start=1,2,3,4\n", 2, "start is not three numbers", "and no more"},
        {sig + "profile id=1 width=0x10\n", 2, "width is not a number", "no hexadecimal"},
        {sig + "profile id=1 insertion=9\n", 2, "0 to 8", "nine insertion points"},
        {sig + "plate id=1 thickness=-2\n", 2, "negative", "sizes are not negative"},
        {sig + "plate id=1 xaxis=1,0,0 yaxis=3,0,0\n", 2, "parallel", "a placement needs two directions"},
        {sig + "plate id=1 outline=0,0;1\n", 2, "point 2 is not two numbers", "a broken outline"},
        {manyPoints + "\n", 2, "more than 10000 points", "point budget"},
        {sig + "profile id=1 colour=red\n", 2, "unknown field colour", "a field we do not know"},
        {sig + "profile id=1 width=1 width=2\n", 2, "given twice", "a field twice"},
        {sig + "profile id=1" +
             [] {
                 std::string f;
                 for (int i = 0; i < 40; ++i)
                     f += " f" + std::to_string(i) + "=1";
                 return f;
             }() +
             "\n",
         2, "more than 32 fields", "field budget: a line of many fields costs no quadratic search"},
        {sig + "profile id=1 section=\"IPE\\q\"\n", 2, "unknown escape", "escapes are few"},
        {sig + "profile id=1 section=\"IPE 200\n", 2, "no closing quote", "an open quote"},
        {sig + "profile id=1 section=IPE\"200\n", 2, "stray quote", "a quote inside a bare value"},
        {sig + "profile id=1 section\n", 2, "expected KEY=VALUE", "a field without a value"},
        {sig + "group id=1 name=\"" + std::string(256, 'x') + "\"\n", 2, "longer than 255", "name budget"},
        {sig + "group id=1 name=\"a\\nb\"\n", 2, "control character", "names stay on one line"},
        {sig + "group id=1\x01\n", 2, "control character (1)", "raw control bytes"},
        {sig + std::string("group id=1\n\0\n", 13), 3, "NUL byte", "a binary file"},
        {sig + "prop key=\"a\" value=\"b\"\n", 2, "must follow an entity", "a property of nothing"},
        {sig + "group id=1\nprop key=\"a\" value=\"b\"\nprop key=\"a\" value=\"c\"\n", 4, "given twice",
         "a property twice"},
        {sig + "group id=1\nprop key=\"a\"\n", 3, "needs key", "a property without value"},
        {sig + "drawing nextid=1\ndrawing nextid=2\n", 3, "second drawing line", "one header"},
        {sig + "drawing nextid=281474976710657\n", 2, "nextid is not", "next id budget"},
        {sig + "drawing view=0,0,0\n", 2, "length 0", "no view direction"},
        {sig + "group id=1 name=\"" + std::string(300000, 'x') + "\"\n", 2, "longer than 256 KiB",
         "line budget"},
    };
    Drawing& cur = curDrawing();
    cadtest::addSampleMacro(cur);
    const std::string before = drawingText(cur);
    const std::uint64_t revision = cur.revision();
    int n = 0;
    for (const Case& c : cases) {
        std::string path = write("case" + std::to_string(++n) + ".dwg", c.text);
        std::string error;
        EXPECT_FALSE(openDrawing(path, &error)) << c.why;
        std::string where = path + ":" + std::to_string(c.line) + ": ";
        EXPECT_EQ(error.rfind(where, 0), 0u) << c.why << ": the file and line come first: " << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.why << ": " << error;
        EXPECT_EQ(cur.revision(), revision) << c.why << ": the current drawing is untouched";
    }
    EXPECT_EQ(drawingText(cur), before);
}

TEST_F(DrawingFileTest, budgetsAndFilesThatAreNoDrawings) {
    Drawing& cur = curDrawing();
    cadtest::addSampleMacro(cur);
    const std::uint64_t revision = cur.revision();
    std::string error;

    std::string huge = (dir / "huge.dwg").string();
    std::ofstream(huge) << "VORLANE DRAWING 1\n";
    fs::resize_file(huge, kMaxDrawingFileBytes + 1); // sparse: costs nothing to refuse
    EXPECT_FALSE(openDrawing(huge, &error));
    EXPECT_NE(error.find(huge), std::string::npos) << "the file is refused from its size: " << error;
    EXPECT_FALSE(openDrawing(dir.string(), &error)) << "a folder is no drawing";
    EXPECT_FALSE(openDrawing((dir / "missing.dwg").string(), &error));
    EXPECT_EQ(cur.revision(), revision);

    // Counted before anything is read: the ids given twice are never reached.
    std::string many = "VORLANE DRAWING 1\n";
    const std::string record = "group id=1\n# a comment does not count\nprop key=\"a\" value=\"b\"\n";
    many.reserve(kMaxDrawingEntities * record.size() + 100);
    for (std::size_t i = 1; i <= kMaxDrawingEntities + 1; ++i)
        many += record;
    Drawing d;
    EXPECT_FALSE(readDrawingText(many, d, "many.dwg", &error));
    EXPECT_EQ(error,
              "many.dwg:" + std::to_string(3 * kMaxDrawingEntities + 2) + ": more than 1000000 entities");

    EXPECT_FALSE(saveDrawing(cur, (dir / "no folder" / "x.dwg").string(), &error));
    EXPECT_FALSE(error.empty()) << "a failed save says why";
}

} // namespace

TEST(DrawingFieldsTest, anEntitysFieldsAreThoseOfItsFileLine) {
    Drawing d;
    cadtest::addSampleMacro(d);
    const struct {
        const char* name;
        const char* key;
        const char* value;
        const char* why;
    } cases[] = {
        {"B1", "kind", "profile", "the record word comes first, as kind"},
        {"B1", "section", "IPE 200", "a text without its quotes"},
        {"B1", "end", "6000,0,0", "a point as x,y,z"},
        {"B1", "owner", "1", "the owner's id"},
        {"P1", "outline", "0,0;100,0;100,200;0,200", "a list of plane points"},
        {"K1", "file", "Macros/Kopplaat.dwg", "a block's library drawing"},
        {"M1", "name", "M1", "a group has its name and id only"},
    };
    for (const auto& c : cases) {
        const Entity* e = d.get(d.findByName(c.name));
        ASSERT_NE(e, nullptr) << c.name;
        std::string got = "(none)";
        for (const auto& [key, value] : entityFields(*e))
            if (key == c.key) got = value;
        EXPECT_EQ(got, c.value) << c.name << " " << c.key << ": " << c.why;
    }
    EXPECT_EQ(entityFields(*d.get(d.findByName("M1"))).size(), 3u) << "kind, id, name";
}
