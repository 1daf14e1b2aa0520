/** @file SceneManagerTest.cpp The frame pass: order, removal, bringing scenes in, ownership, shutdown. */
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "AppTestSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/core/StandardScene.h"

namespace korvane::test
{
namespace
{

std::vector<std::string> gCalls;
int gDestroyed = 0;

// Records every call as "<name>.<step>" and runs optional hooks.
class TraceScene : public CStandardScene
{
public:
    TraceScene(const std::string& name, std::uint16_t priority) : CStandardScene(priority), name_(name) {}
    ~TraceScene() override { ++gDestroyed; }
    void Initialize() override
    {
        gCalls.push_back(name_ + ".init");
        if (onInitialize)
            onInitialize();
    }
    void Restore() override { gCalls.push_back(name_ + ".restore"); }
    void Update(int frames) override
    {
        gCalls.push_back(name_ + ".update" + std::to_string(frames));
        if (onUpdate)
            onUpdate();
    }
    void Finalize() override
    {
        gCalls.push_back(name_ + ".final");
        if (onFinalize)
            onFinalize();
    }
    std::function<void()> onInitialize;
    std::function<void()> onUpdate;
    std::function<void()> onFinalize;

private:
    std::string name_;
};

class SceneManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gCalls.clear();
        gDestroyed = 0;
    }
};

TEST_F(SceneManagerTest, UpdatesInAscendingPriorityAndEqualPrioritiesInQueueOrder)
{
    CSceneManager manager;
    manager.AddScene(boost::make_shared<TraceScene>("resource", 0xFFFF));
    manager.AddScene(boost::make_shared<TraceScene>("window", 0x8000));
    manager.AddScene(boost::make_shared<TraceScene>("second8000", 0x8000));
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"resource.init", "resource.restore", "window.init",
                                                "window.restore", "second8000.init", "second8000.restore"}));
    gCalls.clear();
    manager.OnFrame(nullptr, 2);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"window.update1", "second8000.update1", "resource.update1"}));
    gCalls.clear();
    manager.OnFrame(nullptr, 2);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"window.update2", "second8000.update2", "resource.update2"}));
}

TEST_F(SceneManagerTest, FirstPassAfterAddingRunsOneFrameAndZeroesTheKeepersInterval)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    CSceneManager manager;
    auto scene = boost::make_shared<TraceScene>("a", 1);
    manager.AddScene(scene);
    manager.OnFrame(&keeper, 2);
    keeper.frameInterval = 123456;
    manager.OnFrame(&keeper, 2);
    EXPECT_EQ(keeper.frameInterval, 0);
    EXPECT_EQ(gCalls.back(), "a.update1");
    keeper.frameInterval = 77;
    manager.OnFrame(&keeper, 2);
    EXPECT_EQ(keeper.frameInterval, 77);
    EXPECT_EQ(gCalls.back(), "a.update2");
}

TEST_F(SceneManagerTest, SceneQueuedDuringAnUpdateEntersInThatPassAndRunsNextWithOneFrame)
{
    CSceneManager manager;
    auto first = boost::make_shared<TraceScene>("first", 1);
    auto late = boost::make_shared<TraceScene>("late", 0);
    manager.AddScene(first);
    manager.OnFrame(nullptr, 1);
    manager.OnFrame(nullptr, 1);
    first->onUpdate = [&]
    {
        manager.AddScene(late);
        first->onUpdate = nullptr;
    };
    gCalls.clear();
    manager.OnFrame(nullptr, 2);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"first.update2", "late.init", "late.restore"}));
    gCalls.clear();
    manager.OnFrame(nullptr, 2);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"late.update1", "first.update1"}));
}

TEST_F(SceneManagerTest, ScenesQueuedWhileEnteringEnterInTheSamePass)
{
    CSceneManager manager;
    auto a = boost::make_shared<TraceScene>("a", 5);
    auto b = boost::make_shared<TraceScene>("b", 1);
    a->onInitialize = [&] { manager.AddScene(b); };
    manager.AddScene(a);
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"a.init", "a.restore", "b.init", "b.restore"}));
    EXPECT_EQ(manager.GetQueuedCount(), 0u);
    EXPECT_EQ(manager.GetScenes().size(), 2u);
}

TEST_F(SceneManagerTest, SelfDeactivatedSceneIsFinalizedInTheSamePassAndReleased)
{
    CSceneManager manager;
    {
        auto scene = boost::make_shared<TraceScene>("quitter", 1);
        scene->onUpdate = [raw = scene.get()] { raw->Deactivate(); };
        manager.AddScene(scene);
    }
    manager.AddScene(boost::make_shared<TraceScene>("stayer", 2));
    manager.OnFrame(nullptr, 1);
    gCalls.clear();
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"quitter.update1", "stayer.update1", "quitter.final"}));
    EXPECT_EQ(gDestroyed, 1);
    ASSERT_EQ(manager.GetScenes().size(), 1u);
    gCalls.clear();
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(gCalls, std::vector<std::string>{"stayer.update1"});
}

TEST_F(SceneManagerTest, FinalizationThatDeactivatesAnotherSceneFinalizesItInTheSamePass)
{
    CSceneManager manager;
    auto a = boost::make_shared<TraceScene>("a", 1);
    auto b = boost::make_shared<TraceScene>("b", 2);
    manager.AddScene(a);
    manager.AddScene(b);
    manager.OnFrame(nullptr, 1);
    a->onUpdate = [&] { a->Deactivate(); };
    a->onFinalize = [&] { b->Deactivate(); };
    gCalls.clear();
    manager.OnFrame(nullptr, 1);
    // b was still active when the update walk reached it.
    EXPECT_EQ(gCalls, (std::vector<std::string>{"a.update1", "b.update1", "a.final", "b.final"}));
    EXPECT_TRUE(manager.GetScenes().empty());
}

TEST_F(SceneManagerTest, SceneDeactivatedByAnEarlierUpdateIsNotUpdated)
{
    CSceneManager manager;
    auto a = boost::make_shared<TraceScene>("a", 1);
    auto b = boost::make_shared<TraceScene>("b", 2);
    manager.AddScene(a);
    manager.AddScene(b);
    manager.OnFrame(nullptr, 1);
    a->onUpdate = [&] { b->Deactivate(); };
    gCalls.clear();
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"a.update1", "b.final"}));
}

TEST_F(SceneManagerTest, SceneDeactivatedWhileEnteringIsFinalizedInTheNextPassWithoutUpdate)
{
    CSceneManager manager;
    auto a = boost::make_shared<TraceScene>("a", 1);
    a->onInitialize = [&] { a->Deactivate(); };
    manager.AddScene(a);
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(manager.GetScenes().size(), 1u);
    gCalls.clear();
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(gCalls, std::vector<std::string>{"a.final"});
}

TEST_F(SceneManagerTest, ClearFinalizesInactiveScenesAndDropsQueuedOnesUncalled)
{
    CSceneManager manager;
    auto a = boost::make_shared<TraceScene>("a", 1);
    manager.AddScene(a);
    manager.OnFrame(nullptr, 1);
    a->SetActive(false);
    manager.AddScene(boost::make_shared<TraceScene>("queued", 2));
    gCalls.clear();
    manager.Clear();
    EXPECT_EQ(gCalls, std::vector<std::string>{"a.final"});
    EXPECT_TRUE(manager.GetScenes().empty());
    EXPECT_EQ(manager.GetQueuedCount(), 0u);
    EXPECT_EQ(gDestroyed, 1); // the queued scene; a is still held here
}

TEST_F(SceneManagerTest, RestoreInitializeAndFinalizeAllReachEverySceneAndKeepTheSet)
{
    CSceneManager manager;
    auto a = boost::make_shared<TraceScene>("a", 1);
    auto b = boost::make_shared<TraceScene>("b", 2);
    manager.AddScene(b);
    manager.AddScene(a);
    manager.OnFrame(nullptr, 1);
    b->SetActive(false); // inactive scenes are reached as well
    gCalls.clear();
    manager.RestoreAll();
    manager.InitializeAll();
    manager.FinalizeAll();
    EXPECT_EQ(gCalls,
              (std::vector<std::string>{"a.restore", "b.restore", "a.init", "b.init", "a.final", "b.final"}));
    EXPECT_EQ(manager.GetScenes().size(), 2u);
    EXPECT_EQ(manager.FindScene(b.get()), b);
    EXPECT_FALSE(manager.FindScene(nullptr));
}

TEST_F(SceneManagerTest, DumpListsPriorityAndClassName)
{
    LogCapture log;
    CSceneManager manager;
    manager.DumpSceneList();
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"INFO: < Scene list dump >\n", "INFO: \t.\n"}));
    manager.AddScene(boost::make_shared<TraceScene>("a", 0x8000));
    manager.AddScene(boost::make_shared<CStandardScene>(0xFFFF));
    manager.OnFrame(nullptr, 1);
    LogCapture second;
    manager.DumpSceneList();
    EXPECT_EQ(second.Lines(), (std::vector<std::string>{
                                     "INFO: < Scene list dump >\n",
                                     "INFO: \t8000: class korvane::test::(anonymous namespace)::TraceScene\n",
                                     "INFO: \tFFFF: class korvane::CStandardScene\n", "INFO: \t.\n"}));
}

TEST_F(SceneManagerTest, SharedSceneQueuedTwiceIsUpdatedTwicePerPass)
{
    CSceneManager manager;
    auto a = boost::make_shared<TraceScene>("a", 1);
    manager.AddScene(a);
    manager.AddScene(a);
    manager.OnFrame(nullptr, 1);
    gCalls.clear();
    manager.OnFrame(nullptr, 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"a.update1", "a.update1"}));
}

TEST_F(SceneManagerTest, PlainPointerQueuedTwiceHasOneOwner)
{
    {
        CSceneManager manager;
        auto* scene = new TraceScene("raw", 1);
        manager.AddScene(scene);
        manager.AddScene(scene);
        manager.OnFrame(nullptr, 1);
        ASSERT_EQ(manager.GetScenes().size(), 2u);
        EXPECT_EQ(manager.GetScenes()[0], manager.GetScenes()[1]);
    }
    EXPECT_EQ(gDestroyed, 1);
}

TEST_F(SceneManagerTest, PlainPointerOfASharedSceneSharesTheExistingOwner)
{
    auto owned = boost::make_shared<TraceScene>("owned", 1);
    {
        CSceneManager manager;
        manager.AddScene(owned.get());
        manager.OnFrame(nullptr, 1);
        EXPECT_EQ(manager.FindScene(owned.get()), owned);
    }
    EXPECT_EQ(gDestroyed, 0);
    EXPECT_EQ(owned.use_count(), 1);
}

TEST_F(SceneManagerTest, DestructorFinalizesEverySceneEvenWhenOneThrows)
{
    LogCapture log;
    {
        CSceneManager manager;
        auto a = boost::make_shared<TraceScene>("a", 1);
        auto b = boost::make_shared<TraceScene>("b", 2);
        auto c = boost::make_shared<TraceScene>("c", 3);
        a->onFinalize = [] { throw EIOError("cannot save"); };
        b->onFinalize = [] { throw std::runtime_error("disk full"); };
        manager.AddScene(a);
        manager.AddScene(b);
        manager.AddScene(c);
        manager.OnFrame(nullptr, 1);
        gCalls.clear();
    }
    EXPECT_EQ(gCalls, (std::vector<std::string>{"a.final", "b.final", "c.final"}));
    EXPECT_EQ(gDestroyed, 3);
    EXPECT_GE(log.CountContaining("cannot save"), 1u);
    EXPECT_GE(log.CountContaining("disk full"), 1u);
}

TEST_F(SceneManagerTest, FailedInitializationKeepsTheSceneAndReleasesTheRestOfTheBatch)
{
    CSceneManager manager;
    auto bad = boost::make_shared<TraceScene>("bad", 1);
    bad->onInitialize = [] { throw EIOError("no data"); };
    manager.AddScene(bad);
    manager.AddScene(boost::make_shared<TraceScene>("after", 2));
    bad.reset();
    EXPECT_THROW(manager.OnFrame(nullptr, 1), EIOError);
    ASSERT_EQ(manager.GetScenes().size(), 1u);
    EXPECT_EQ(manager.GetQueuedCount(), 0u);
    EXPECT_EQ(gDestroyed, 1); // "after" never entered
}

} // namespace
} // namespace korvane::test
