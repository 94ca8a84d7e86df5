// Picks answered from a queue, cancel without an answer, and the editor-command bracket.

#include "DrawingSample.h"

#include <cad/Pick.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace cad;
using Answer = QueuePickServer::Answer;

namespace {

struct PickTest : ::testing::Test {
    QueuePickServer queue;
    void SetUp() override {
        curDrawing().clear();
        cadtest::addSampleMacro(curDrawing());
        setPickServer(&queue);
        clearEditorFaults();
    }
    void TearDown() override {
        setPickServer(nullptr);
        setEditorCommandHook(nullptr);
        setDialogShown(false);
        clearEditorFaults();
        curDrawing().clear();
    }
};

TEST_F(PickTest, answersComeFromTheQueueAndNothingCancels) {
    Drawing& d = curDrawing();
    struct Case {
        PickRequest request;
        std::optional<Answer> answer; ///< none: the queue is empty
        bool ok;
        std::vector<AcDbObjectId> ids;
        const char* fault; ///< what the queue records, or ""
        const char* why;
    } cases[] = {
        {{PickKind::Object, "Select a beam"},
         Answer::object("B1"),
         true,
         {d.findByName("B1")},
         "",
         "by name"},
        {{PickKind::Object}, Answer::object(d.findByName("P1")), true, {d.findByName("P1")}, "", "by id"},
        {{PickKind::Object}, std::nullopt, false, {}, "", "an empty queue cancels"},
        {{PickKind::Object}, Answer::cancelled(PickKind::Object), false, {}, "", "a cancel answer"},
        {{PickKind::Point}, Answer::object("B1"), false, {}, "was answered with a object", "wrong kind"},
        {{PickKind::Object}, Answer::object("nobody"), false, {}, "not in the drawing", "unknown name"},
        {{PickKind::Object, "", {EntityKind::Plate}},
         Answer::object("B1"),
         false,
         {},
         "may not take the profile",
         "kinds the request allows"},
        {{PickKind::Objects},
         Answer::objects({"B1", "P1"}),
         true,
         {d.findByName("B1"), d.findByName("P1")},
         "",
         "several objects"},
        {{PickKind::Objects}, Answer::objects({}), true, {}, "", "no object is an answer too"},
        {{PickKind::CoordSys},
         Answer::coordSys("CS1"),
         true,
         {d.findByName("CS1")},
         "",
         "a coordinate system"},
        {{PickKind::CoordSys},
         Answer::coordSys("B1"),
         false,
         {},
         "may not take the profile",
         "only coordinate systems"},
        {{PickKind::Plane},
         Answer::onPlane({{0, 0, 5}, {0, 0, 0}}),
         false,
         {},
         "normal of length 0",
         "no normal"},
    };
    for (const Case& c : cases) {
        std::size_t faults = queue.faults().size();
        if (c.answer) queue.push(*c.answer);
        PickResult r = pick(c.request);
        EXPECT_EQ(r.ok, c.ok) << c.why;
        EXPECT_EQ(r.ids, c.ids) << c.why;
        EXPECT_EQ(queue.pending(), 0u) << c.why << ": every answer is used once";
        if (*c.fault) {
            ASSERT_EQ(queue.faults().size(), faults + 1) << c.why;
            EXPECT_NE(queue.faults().back().find(c.fault), std::string::npos)
                << c.why << ": " << queue.faults().back();
        } else {
            EXPECT_EQ(queue.faults().size(), faults) << c.why;
        }
    }
    queue.push(Answer::at({1, 2, 3}));
    queue.push(Answer::onPlane({{0, 0, 5}, {0, 0, 1}}));
    EXPECT_EQ(pick({PickKind::Point}).point, (Point3d{1, 2, 3}));
    EXPECT_EQ(pick({PickKind::Plane}).plane.origin.z, 5);
    queue.push(Answer::coordSys("CS1"));
    EXPECT_EQ(pick({PickKind::CoordSys}).coordSys, (CoordSys{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    setPickServer(nullptr);
    queue.push(Answer::object("B1"));
    EXPECT_FALSE(pick({PickKind::Object}).ok) << "nobody serves picks: cancel";
}

struct RecordingHook : EditorCommandHook {
    std::vector<std::string>& log;
    explicit RecordingHook(std::vector<std::string>& l)
        : log(l) {}
    void beginEditorCommand(void* dialog) override { log.push_back(dialog ? "hide dialog" : "hide"); }
    void completeEditorCommand(void* dialog, bool restore) override {
        log.push_back(restore ? "show dialog" : "leave hidden");
    }
};

struct LoggingServer : PickServer {
    std::vector<std::string>& log;
    explicit LoggingServer(std::vector<std::string>& l)
        : log(l) {}
    PickResult answer(const PickRequest& r, const Drawing&) override {
        log.push_back("pick");
        return {};
    }
};

TEST_F(PickTest, theBracketHidesTheDialogAroundThePick) {
    std::vector<std::string> log;
    RecordingHook hook(log);
    LoggingServer server(log);
    setEditorCommandHook(&hook);
    setPickServer(&server);
    setDialogShown(true);
    int dialog = 0;
    EXPECT_TRUE(BeginEditorCommand(&dialog));
    EXPECT_TRUE(inEditorCommand());
    pick({PickKind::Point});
    CompleteEditorCommand(&dialog, true);
    EXPECT_FALSE(inEditorCommand());
    EXPECT_EQ(log, (std::vector<std::string>{"hide dialog", "pick", "show dialog"}));
    EXPECT_TRUE(editorFaults().empty());

    struct Case {
        std::function<void()> act;
        const char* fault;
        const char* why;
    } faults[] = {
        {[] {
             pick({PickKind::Object, "Select"});
         },
         "outside BeginEditorCommand", "a pick over a shown dialog"},
        {[&] {
             BeginEditorCommand(&dialog);
             BeginEditorCommand(&dialog);
             CompleteEditorCommand(&dialog);
         },
         "BeginEditorCommand while", "a bracket begun twice"},
        {[&] { CompleteEditorCommand(&dialog); }, "without BeginEditorCommand", "a bracket closed twice"},
    };
    for (const Case& c : faults) {
        clearEditorFaults();
        c.act();
        ASSERT_EQ(editorFaults().size(), 1u) << c.why;
        EXPECT_NE(editorFaults()[0].find(c.fault), std::string::npos) << c.why << ": " << editorFaults()[0];
    }
    clearEditorFaults();
    setDialogShown(false);
    pick({PickKind::Point});
    EXPECT_TRUE(editorFaults().empty()) << "with no dialog shown a pick needs no bracket";
}

} // namespace
