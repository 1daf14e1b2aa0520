/** @file SceneManagerTest.cpp The frame pass: order, removal, bringing scenes in, ownership, shutdown. */

#include "AppTestSupport.h"

namespace korvane::test
{
namespace
{

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

} // namespace
} // namespace korvane::test
