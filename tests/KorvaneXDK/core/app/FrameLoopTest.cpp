/** @file FrameLoopTest.cpp The message loop, frame pacing, scenes and the profiler on an injected clock. */
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <thread>

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/GameApplication.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/core/SimpleProfiler.h"
#include "KorvaneXDK/core/StandardScene.h"
#include "os/system/System.h"
#include "os/window/MessageQueue.h"
#include "support/LogCapture.h"

namespace korvane::test
{
namespace
{

using Calls = std::vector<std::string>;
using Ints = std::vector<int>;

/// Replaces the monotonic clock with a counter in nanoseconds; a sleep of n ms moves it n ms on,
/// a zero-length sleep (a yield) moves it 0.1 ms on. Sleeps are recorded.
class FakeClock
{
public:
    explicit FakeClock(std::uint64_t startNs = 1000000000000ull) : now_(startNs)
    {
        os::testing::SetClockFunction([this] { return now_; });
        os::testing::SetSleepFunction([this](std::uint32_t ms) {
            sleeps_.push_back(ms);
            now_ += ms == 0 ? 100000 : std::uint64_t(ms) * 1000000ull;
        });
    }
    ~FakeClock()
    {
        os::testing::SetClockFunction({});
        os::testing::SetSleepFunction({});
    }
    std::uint64_t Now() const { return now_; }
    void Set(std::uint64_t ns) { now_ = ns; }
    void Advance(std::uint64_t ns) { now_ += ns; }
    std::vector<std::uint32_t>& Sleeps() { return sleeps_; }

private:
    std::uint64_t now_;
    std::vector<std::uint32_t> sleeps_;
};

using os::window::GetQueuedMessageCount;
using os::window::PostMessage;
using os::window::PostQuitMessage;

struct IdleCounter : IGameApplicationListener
{
    int calls = 0;
    std::function<void(int)> onIdle;
    void OnIdle() override
    {
        ++calls;
        if (onIdle)
            onIdle(calls);
    }
};

// An application on an empty queue with the idle counter as its listener.
class GameApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetWindowMessageQueue();
        application_.SetListener(&idle_);
    }
    void TearDown() override { os::testing::ResetWindowMessageQueue(); }

    CGameApplication application_{nullptr};
    IdleCounter idle_;
};

TEST_F(GameApplicationTest, RunDispatchesPendingMessagesBeforeEachIdleCallUntilTheQuitOrWaitsForAPostWithoutListener)
{
    Ints queuedAtIdle;
    idle_.onIdle = [&](int calls) {
        queuedAtIdle.push_back(static_cast<int>(GetQueuedMessageCount()));
        if (calls == 5)
            PostQuitMessage(3);
    };
    PostMessage(nullptr, 0x0400, 1, 2);
    PostMessage(nullptr, 0x0400, 3, 4);
    EXPECT_EQ(application_.Run(), 0);
    EXPECT_EQ(std::pair(GetQueuedMessageCount(), queuedAtIdle), std::pair(std::size_t{0}, Ints(5, 0)));
    // Without an idle listener the loop waits for a post.
    application_.SetListener(nullptr);
    std::thread poster([] {
        PostMessage(nullptr, 0x0400, 0, 0);
        PostQuitMessage(0);
    });
    EXPECT_EQ(application_.Run(), 0);
    poster.join();
    EXPECT_EQ(std::pair(GetQueuedMessageCount(), idle_.calls), std::pair(std::size_t{0}, 5));
}

TEST_F(GameApplicationTest, ProcessMessagesDispatchesEverythingThenIdlesOnceAndLeavesTheQuitQueuedAndTheCursorCounts)
{
    application_.ProcessMessages();
    PostMessage(nullptr, 0x0400, 0, 0);
    PostMessage(nullptr, 0x0401, 0, 0);
    application_.ProcessMessages();
    EXPECT_EQ(std::pair(GetQueuedMessageCount(), idle_.calls), std::pair(std::size_t{0}, 2));
    // The pass ends at the quit without the idle call; the quit stays, so the loop ends at once.
    PostQuitMessage(0);
    PostMessage(nullptr, 0x0400, 0, 0);
    application_.ProcessMessages();
    EXPECT_EQ(application_.Run(), 0);
    application_.SetListener(nullptr);
    application_.ProcessMessages();
    EXPECT_EQ(idle_.calls, 2);
    // A nested pass, as a modal wait would run, keeps the quit for the loop.
    application_.SetListener(&idle_);
    idle_.onIdle = [&](int calls) {
        if (calls == 3) {
            PostQuitMessage(0);
            application_.ProcessMessages();
        }
    };
    EXPECT_EQ(application_.Run(), 0);
    EXPECT_EQ(idle_.calls, 3);
    // The cursor counter ends at zero or minus one.
    // Hiding twice or showing twice changes the counter only once.
    os::testing::SetCursorDisplayCount(0);
    auto show = [&](bool on) {
        application_.ShowCursor(on);
        return os::testing::GetCursorDisplayCount();
    };
    EXPECT_EQ((Ints{show(false), show(false), show(true), show(true)}), (Ints{-1, -1, 0, 0}));
    os::testing::SetCursorDisplayCount(0);
}

constexpr std::int64_t kInterval75 = 13333333; // ticks (ns) per frame at 75 frames a second
// The clock at creation: 2 days 03:04:05 of uptime and a few ticks.
constexpr std::uint64_t kStart = (2ull * 86400 + 3 * 3600 + 4 * 60 + 5) * 1000000000ull + 123;

struct FrameRecorder : IFrameTimerListener
{
    Ints frames;
    std::vector<std::int64_t> intervals;
    void OnFrame(CFrameRateKeeper* keeper, int count) override
    {
        frames.push_back(count);
        intervals.push_back(keeper->frameInterval);
    }
};

// A keeper paced at 75 frames a second on the fake clock, reporting to a recorder; its creation is logged.
class FrameRateKeeperTest : public ::testing::Test
{
protected:
    FrameRateKeeperTest()
    {
        keeper_.frameListener = &recorder_;
        keeper_.SetFrameRate(75);
    }
    // Runs idle passes until one produces a frame (or gives up).
    void RunUntilFrame(CFrameRateKeeper& keeper)
    {
        const std::size_t before = recorder_.frames.size();
        for (int i = 0; i < 100000 && recorder_.frames.size() == before; ++i)
            keeper.OnIdle();
    }
    // Takes the frame due now, then returns the sleeps made waiting for the next one.
    std::vector<std::uint32_t> SleepsBeforeTheSecondFrame()
    {
        keeper_.OnIdle();
        clock_.Sleeps().clear();
        RunUntilFrame(keeper_);
        EXPECT_EQ(recorder_.frames, (Ints{1, 1}));
        return clock_.Sleeps();
    }
    void IdleAt(std::uint64_t ns)
    {
        clock_.Set(ns);
        keeper_.OnIdle();
    }

    FakeClock clock_{kStart};
    LogCapture log_;
    CFrameRateKeeper keeper_;
    FrameRecorder recorder_;
};

TEST_F(FrameRateKeeperTest, LogsTheClockAndUptimeIntervalIsTheRoundedTicksPerFrameAndUnpacedPassesAreOneFrameEach)
{
    EXPECT_EQ(log_.Lines(), (Calls{"INFO: Performance counter enabled: resolution = 1000000000Hz (1.000000nsec)\n",
                                   "INFO: System uptime: 2day(s) 03:04:05\n"}));
    // 3: 333333333.33 rounds down; 7: 142857142.857 rounds up; below 1: no pacing.
    for (const auto& [rate, interval] : std::vector<std::pair<int, std::int64_t>>{
             {75, kInterval75}, {3, 333333333}, {7, 142857143}, {-5, 0}, {0, 0}}) {
        keeper_.SetFrameRate(rate);
        EXPECT_EQ(keeper_.GetInterval(), interval) << rate;
    }
    // The frame interval is the time since the previous pass; elapsed time counts from creation.
    EXPECT_DOUBLE_EQ(keeper_.GetElapsedMilliseconds(), 0.0);
    keeper_.OnIdle();
    IdleAt(clock_.Now() + 7000000);
    EXPECT_EQ(recorder_.intervals, (std::vector<std::int64_t>{kStart, 7000000})); // from clock 0
    clock_.Advance(1500000);
    EXPECT_DOUBLE_EQ(keeper_.GetElapsedMilliseconds(), 8.5);
    keeper_.maxFrames = 2;
    for (int i = 0; i < 5; ++i)
        IdleAt(clock_.Now() + 50000000); // far more than any interval
    EXPECT_EQ(std::tuple(recorder_.frames, clock_.Sleeps().size(), keeper_.GetTotalPasses()),
              std::tuple(Ints(7, 1), 0u, 7));
}

TEST_F(FrameRateKeeperTest, WaitsInMillisecondSleepsThenYieldsForTheLastThird)
{
    const std::uint64_t start = clock_.Now();
    const std::vector<std::uint32_t> sleeps = SleepsBeforeTheSecondFrame();
    EXPECT_GE(clock_.Now(), start + kInterval75);
    // 13.33 ms to wait: 1 ms sleeps while more than 4.44 ms remain, then only yields.
    std::vector<std::uint32_t> expected(9, 1);
    expected.resize(std::max<std::size_t>(sleeps.size(), 10), 0);
    EXPECT_EQ(sleeps, expected);
    // Without the fine wait only millisecond sleeps.
    keeper_.fineWait = false;
    recorder_.frames.clear();
    clock_.Set(keeper_.GetNextDue());
    EXPECT_EQ(SleepsBeforeTheSecondFrame(), std::vector<std::uint32_t>(14, 1));
    // The rate measured is of passes, whatever each counted: 75 here, about 37.5 with two frames a pass.
    for (int i = 0; i < 80; ++i)
        RunUntilFrame(keeper_);
    EXPECT_NEAR(keeper_.measuredFrameRate, 75.0, 1.0);
    CFrameRateKeeper slow;
    slow.frameListener = &recorder_;
    slow.SetFrameRate(75);
    for (int i = 0; i < 45; ++i) {
        slow.OnIdle();
        clock_.Advance(2 * kInterval75);
    }
    EXPECT_NEAR(slow.measuredFrameRate, 37.5, 1.0);
    EXPECT_EQ(recorder_.frames.back(), 2);
}

TEST_F(FrameRateKeeperTest, LatePassesCountTheTicksDueUpToTheCapAndDropTheRestAndPausedPassesOnlySleep)
{
    keeper_.maxFrames = 2;
    const std::uint64_t start = clock_.Now();
    keeper_.OnIdle(); // at the first due time
    // 2.5 intervals after the next due time: 3 ticks due, capped to 2.
    IdleAt(start + kInterval75 + kInterval75 * 5 / 2); // the 2 below
    // The dropped tick never comes back: the next due time is the first tick after that pass.
    const std::uint64_t nextTick = start + 4 * kInterval75;
    EXPECT_EQ(keeper_.GetNextDue(), static_cast<std::int64_t>(nextTick));
    IdleAt(nextTick - 1); // no frame yet: none between the 2 and the 1 below
    IdleAt(nextTick);
    // Without a cap, ten intervals late gives eleven frames (the fourth entry below).
    keeper_.maxFrames = 0;
    IdleAt(nextTick + 11 * kInterval75);
    // Paused passes only sleep, and the first pass afterwards is capped.
    keeper_.maxFrames = 2;
    clock_.Sleeps().clear();
    keeper_.paused = true;
    for (int i = 0; i < 20; ++i)
        keeper_.OnIdle();
    EXPECT_EQ(clock_.Sleeps(), std::vector<std::uint32_t>(20, 50));
    keeper_.paused = false;
    keeper_.OnIdle();
    ASSERT_EQ(recorder_.frames, (Ints{1, 2, 1, 11, 2}));
    // Next due jumped past now: the following pass waits.
    clock_.Sleeps().clear();
    keeper_.OnIdle();
    EXPECT_EQ(std::pair(recorder_.frames.size(), clock_.Sleeps().size()), std::pair(5ul, 1ul));
}

Calls gCalls;
int gDestroyed = 0;

// Records every call as "<name>.<step>" and runs optional hooks.
class TraceScene : public CStandardScene
{
public:
    TraceScene(const std::string& name, std::uint16_t priority) : CStandardScene(priority), name_(name) {}
    ~TraceScene() override { ++gDestroyed; }
    void Initialize() override { Call(".init", onInitialize); }
    void Restore() override { Call(".restore", nullptr); }
    void Update(int frames) override { Call(".update" + std::to_string(frames), onUpdate); }
    void Finalize() override { Call(".final", onFinalize); }
    std::function<void()> onInitialize, onUpdate, onFinalize;

private:
    void Call(const std::string& step, const std::function<void()>& hook)
    {
        gCalls.push_back(name_ + step);
        if (hook)
            hook();
    }
    std::string name_;
};

class SceneManagerTest : public ::testing::Test
{
protected:
    SceneManagerTest()
    {
        gCalls.clear();
        gDestroyed = 0;
    }
    boost::shared_ptr<TraceScene> Add(const std::string& name, std::uint16_t priority)
    {
        auto scene = boost::make_shared<TraceScene>(name, priority);
        manager_.AddScene(scene);
        return scene;
    }
    // Runs one frame pass and returns the calls it made.
    Calls Pass(int frames = 1, CFrameRateKeeper* keeper = nullptr)
    {
        gCalls.clear();
        manager_.OnFrame(keeper, frames);
        return gCalls;
    }

    CSceneManager manager_;
};

// Updates go in ascending priority, equal priorities in queue order; the first pass after
// scenes came in runs one frame and zeroes the keeper's interval.
TEST_F(SceneManagerTest, UpdatesInPriorityOrderAndScenesQueuedDuringAnUpdateOrWhileEnteringEnterInThatPass)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    Add("resource", 0xFFFF);
    auto window = Add("window", 0x8000);
    Add("second", 0x8000);
    EXPECT_EQ(Pass(), (Calls{"resource.init", "resource.restore", "window.init", "window.restore", "second.init",
                             "second.restore"}));
    keeper.frameInterval = 123456;
    EXPECT_EQ(Pass(2, &keeper), (Calls{"window.update1", "second.update1", "resource.update1"}));
    EXPECT_EQ(keeper.frameInterval, 0);
    keeper.frameInterval = 77;
    auto late = boost::make_shared<TraceScene>("late", 0);
    auto later = boost::make_shared<TraceScene>("later", 2);
    window->onUpdate = [&] {
        manager_.AddScene(late);
        window->onUpdate = nullptr;
    };
    late->onInitialize = [&] { manager_.AddScene(later); };
    EXPECT_EQ(std::pair(Pass(2, &keeper), keeper.frameInterval),
              std::pair(Calls{"window.update2", "second.update2", "resource.update2", "late.init", "late.restore",
                              "later.init", "later.restore"},
                        std::int64_t{77}));
    EXPECT_EQ(manager_.GetQueuedCount(), 0u);
    // Brought in with one frame.
    EXPECT_EQ(Pass(2),
              (Calls{"late.update1", "later.update1", "window.update1", "second.update1", "resource.update1"}));
}

TEST_F(SceneManagerTest, DeactivatedScenesAreFinalizedInTheSamePassAndReleased)
{
    TraceScene* a = Add("a", 1).get(); // held by the manager alone
    auto b = Add("b", 2);
    auto c = Add("c", 3);
    auto d = Add("d", 4);
    Pass();
    // b was still active when the update walk reached it; a's finalization deactivates it.
    // d, deactivated by an earlier update, is not updated.
    a->onUpdate = [a] { a->Deactivate(); };
    a->onFinalize = [&] { b->Deactivate(); };
    c->onUpdate = [&] { d->Deactivate(); };
    EXPECT_EQ(Pass(), (Calls{"a.update1", "b.update1", "c.update1", "a.final", "d.final", "b.final"}));
    EXPECT_EQ(std::pair(gDestroyed, manager_.GetScenes().size()), std::pair(1, std::size_t{1}));
    // A scene deactivated while entering is finalized in the next pass without an update.
    auto e = Add("e", 5);
    e->onInitialize = [&] { e->Deactivate(); };
    Pass(); // kept until then: the final call below
    c->onUpdate = nullptr;
    EXPECT_EQ(Pass(), (Calls{"c.update1", "e.final"}));
}

TEST_F(SceneManagerTest, WholeSetCallsReachEverySceneClearFinalizesInactiveOnesDropsQueuedOnesAndDumpListsClasses)
{
    auto b = Add("b", 2);
    auto a = Add("a", 1);
    Pass();
    b->SetActive(false); // inactive scenes are reached as well
    gCalls.clear();
    manager_.RestoreAll();
    manager_.InitializeAll();
    manager_.FinalizeAll();
    EXPECT_EQ(gCalls, (Calls{"a.restore", "b.restore", "a.init", "b.init", "a.final", "b.final"}));
    EXPECT_EQ(std::tuple(manager_.GetScenes().size(), manager_.FindScene(b.get()), manager_.FindScene(nullptr)),
              std::tuple(2u, b, nullptr));
    a->SetActive(false);
    Add("queued", 3);
    gCalls.clear();
    manager_.Clear();
    EXPECT_EQ(gCalls, (Calls{"a.final", "b.final"}));
    EXPECT_EQ(std::tuple(manager_.GetScenes().size(), manager_.GetQueuedCount(), gDestroyed), std::tuple(0u, 0u, 1));
    // The dump lists priority and class name.
    Add("a", 0x8000);
    manager_.AddScene(boost::make_shared<CStandardScene>(0xFFFF));
    Pass();
    LogCapture log;
    manager_.DumpSceneList();
    EXPECT_EQ(log.Lines(), (Calls{"INFO: < Scene list dump >\n",
                                  "INFO: \t8000: class korvane::test::(anonymous namespace)::TraceScene\n",
                                  "INFO: \tFFFF: class korvane::CStandardScene\n", "INFO: \t.\n"}));
}

TEST_F(SceneManagerTest, SceneQueuedTwiceHasOneOwnerDestructorFinalizesEveryOneAndFailedInitializationKeepsTheScene)
{
    manager_.AddScene(Add("a", 1));
    Pass();
    EXPECT_EQ(Pass(), (Calls{"a.update1", "a.update1"}));
    // A plain pointer queued twice has one owner; one of a shared scene shares the existing owner.
    auto owned = boost::make_shared<TraceScene>("owned", 1);
    {
        CSceneManager manager;
        auto* scene = new TraceScene("raw", 1);
        manager.AddScene(scene);
        manager.AddScene(scene);
        manager.AddScene(owned.get());
        manager.OnFrame(nullptr, 1);
        ASSERT_EQ(manager.GetScenes().size(), 3u);
        EXPECT_EQ(manager.GetScenes()[0], manager.GetScenes()[1]);
        EXPECT_EQ(manager.FindScene(owned.get()), owned);
    }
    EXPECT_EQ(std::pair(gDestroyed, owned.use_count()), std::pair(1, 1l));
    // The destructor finalizes every scene even when one throws.
    LogCapture log;
    {
        CSceneManager manager;
        auto a = boost::make_shared<TraceScene>("a", 1);
        auto b = boost::make_shared<TraceScene>("b", 2);
        auto c = boost::make_shared<TraceScene>("c", 3);
        a->onFinalize = [] { throw EIOError("cannot save"); };
        b->onFinalize = [] { throw std::runtime_error("disk full"); };
        for (const auto& scene : {a, b, c})
            manager.AddScene(scene);
        manager.OnFrame(nullptr, 1);
        gCalls.clear();
    }
    EXPECT_EQ(gCalls, (Calls{"a.final", "b.final", "c.final"}));
    EXPECT_EQ(std::tuple(gDestroyed, log.CountContaining("cannot save") > 0, log.CountContaining("disk full") > 0),
              std::tuple(4, true, true));
    // A failed initialization keeps the scene and releases the rest of its batch.
    gDestroyed = 0;
    Add("bad", 1)->onInitialize = [] { throw EIOError("no data"); };
    Add("after", 2);
    EXPECT_THROW(manager_.OnFrame(nullptr, 1), EIOError);
    EXPECT_EQ(std::tuple(manager_.GetScenes().size(), manager_.GetQueuedCount(), gDestroyed),
              std::tuple(3u, 0u, 1)); // "a" twice and "bad"
}

TEST(SimpleProfiler, WritesOneLineWithSixDecimalsWhenStoppedWithLogOrDestroyedRunningOnTheEngineClock)
{
    double now = 100.0;
    SetEngineClockSource([&now] { return now; });
    LogCapture log;
    {
        CSimpleProfiler profiler("Precache");
        now += 12.25;
    }
    {
        CSimpleProfiler profiler("job");
        now += 2.0;
        EXPECT_DOUBLE_EQ(profiler.Stop(true), 2.0);
        now += 50.0;
        profiler.Restart();
        now += 0.5;
    }
    {
        // Without the log: nothing now or later, and a second stop measures nothing.
        CSimpleProfiler profiler("quiet");
        now += 3.5;
        EXPECT_DOUBLE_EQ(profiler.Stop(false), 3.5);
        now += 1.0;
        EXPECT_DOUBLE_EQ(profiler.Stop(true), 0.0);
    }
    SetEngineClockSource({});
    EXPECT_EQ(log.Lines(), (Calls{"INFO: CSimpleProfiler: 'Precache': Time: 12.250000msec\n",
                                  "INFO: CSimpleProfiler: 'job': Time: 2.000000msec\n",
                                  "INFO: CSimpleProfiler: 'job': Time: 0.500000msec\n"}));
    // The engine clock follows the installed keeper until it goes, then the monotonic clock.
    FakeClock clock;
    {
        CFrameRateKeeper keeper;
        keeper.InstallAsEngineClock();
        clock.Advance(4000000);
        EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds(), 4.0);
        // Another owner's clearing does not take the keeper's source away.
        int other = 0;
        ClearEngineClockSource(&other);
        EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds(), 4.0);
    }
    // The keeper took its source with it: the fallback runs on the monotonic clock.
    const double first = GetEngineElapsedMilliseconds();
    clock.Advance(2500000);
    EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds() - first, 2.5);
    // A source installed without an owner stays until it is replaced.
    SetEngineClockSource([] { return 42.0; });
    CFrameRateKeeper{}; // made and gone without installing itself
    EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds(), 42.0);
    SetEngineClockSource({});
}

} // namespace
} // namespace korvane::test
