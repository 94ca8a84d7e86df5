// Timers of no window: on the scripted agent's manual clock, which `tick` advances, and on the
// toolkit's clock otherwise.

#include <ui/Application.h>
#include <ui/Script.h>
#include <ui/Timer.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

class TimerTest : public testing::Test {
protected:
    void SetUp() override { setAgent(&agent); }
    void TearDown() override {
        for (int id : ids)
            killTimer(id);
        setAgent(nullptr);
    }
    int set(int ms, std::function<void()> f) {
        int id = setTimer(ms, std::move(f));
        ids.push_back(id);
        return id;
    }
    ScriptedAgent agent;
    std::vector<int> ids;
    std::string fired;
};

TEST_F(TimerTest, tickFiresTimersInTheOrderTheyFallDue) {
    int a = set(10, [this] { fired += 'a'; });
    set(25, [this] { fired += 'b'; });
    EXPECT_NE(a, ids.back()) << "every timer has its own id";
    ASSERT_TRUE(agent.runLine("tick 9"));
    EXPECT_EQ(fired, "") << "nothing is due before its interval";
    ASSERT_TRUE(agent.runLine("tick 21"));
    EXPECT_EQ(fired, "aaba") << "a at 10, 20; b at 25; a at 30";
    EXPECT_TRUE(killTimer(a));
    EXPECT_FALSE(killTimer(a)) << "a killed timer is gone";
    ASSERT_TRUE(agent.runLine("tick 50"));
    EXPECT_EQ(fired, "aababb") << "a killed timer fires no more; b at 50 and 75";
}

TEST_F(TimerTest, aCallbackMayKillItselfAndSetAnother) {
    int self = 0;
    self = set(5, [&] {
        fired += 's';
        killTimer(self);
        set(5, [this] { fired += 'n'; });
    });
    ASSERT_TRUE(agent.runLine("tick 20"));
    EXPECT_EQ(fired, "snnn") << "the killed timer ran once; the new one from 5 on, at 10, 15 and 20";
}

TEST_F(TimerTest, unknownIdsAreIgnored) {
    EXPECT_FALSE(killTimer(0));
    EXPECT_FALSE(killTimer(-3));
    EXPECT_FALSE(killTimer(1 << 30));
}

TEST(TimerRealClockTest, firesOnTheToolkitsClockWithoutAScriptedAgent) {
    ensureApplication(true);
    int count = 0;
    int id = setTimer(1, [&] { ++count; });
    QElapsedTimer clock;
    clock.start();
    while (count < 2 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(killTimer(id));
    EXPECT_GE(count, 2) << "the toolkit's timer repeats until killed";
    int after = count;
    QCoreApplication::processEvents();
    EXPECT_EQ(count, after) << "a killed timer fires no more";
}

} // namespace
