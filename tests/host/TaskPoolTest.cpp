/** @file TaskPoolTest.cpp The front-end task pool: allocation, freeing, runs and a second thread. */
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "host/FrontEndTaskPool.h"

namespace
{

// What the routines saw, for the checks.
std::vector<std::uint16_t> gCalls;
std::vector<std::uint8_t> gFirstCalls;
FrontEndTask* gVictim = nullptr;

void Record(FrontEndTask* task)
{
    gCalls.push_back(task->Index);
    gFirstCalls.push_back(task->FirstCall);
}

void FreeSelf(FrontEndTask* task)
{
    Record(task);
    if (task->FirstCall == 0)
        TaskPoolFree(task);
}

void FreeVictim(FrontEndTask* task)
{
    Record(task);
    if (task->FirstCall == 0 && gVictim != nullptr)
        TaskPoolFree(gVictim);
}

void Spawn(FrontEndTask* task)
{
    Record(task);
    if (task->FirstCall == 0 && task->State == 1) {
        task->State = 2;
        TaskPoolAlloc(Record);
    }
}

class TaskPoolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TaskPoolInit();
        gCalls.clear();
        gFirstCalls.clear();
        gVictim = nullptr;
    }
    /// The first run after init stops after one routine; spend it on a throw-away record.
    void SpendAbort()
    {
        FrontEndTask* task = TaskPoolAlloc(Record);
        TaskPoolRunAll();
        TaskPoolFree(task);
        gCalls.clear();
        gFirstCalls.clear();
    }
    /// Runs the pool once and returns the indices called.
    std::vector<std::uint16_t> Run()
    {
        gCalls.clear();
        TaskPoolRunAll();
        return gCalls;
    }
};

TEST_F(TaskPoolTest, AllocationStampsTheRecordAndCallsTheRoutineOnce)
{
    FrontEndTask* first = TaskPoolAlloc(Record);
    EXPECT_EQ(0, first->Index);
    EXPECT_EQ(2u, TaskPoolReadSerial(first));
    EXPECT_EQ(1, first->Live);
    EXPECT_EQ(1, first->InUse);
    EXPECT_EQ(1, first->State) << "the front end's jobs start in state 1";
    EXPECT_EQ(0xFFFFFFFFu, first->Links[7]);
    EXPECT_EQ(0, first->Work[767]);
    EXPECT_EQ((std::vector<std::uint16_t>{0}), gCalls);
    EXPECT_EQ((std::vector<std::uint8_t>{1}), gFirstCalls);

    FrontEndTask* second = TaskPoolAlloc(Record);
    EXPECT_EQ(1, second->Index);
    EXPECT_EQ(3u, TaskPoolReadSerial(second));
    EXPECT_EQ(2, TaskPoolCount());

    // The first run stops after its first routine; later runs call every record, first-call cleared.
    EXPECT_EQ((std::vector<std::uint16_t>{0}), Run());
    EXPECT_EQ((std::vector<std::uint16_t>{0, 1}), Run());
    EXPECT_EQ(0, gFirstCalls.back());

    // Freed: new serial, back on the stack, lowest index first again.
    TaskPoolFree(first);
    EXPECT_EQ(4u, TaskPoolReadSerial(first));
    EXPECT_EQ(0, first->Live);
    TaskPoolFree(first); // twice: nothing
    EXPECT_EQ(4u, TaskPoolReadSerial(first));
    EXPECT_EQ(1, TaskPoolCount());
    EXPECT_EQ(0, TaskPoolAlloc(Record)->Index);
}

TEST_F(TaskPoolTest, FreeingHeadMiddleAndTailKeepsTheListWhole)
{
    SpendAbort();
    struct Case
    {
        int freed;
        std::vector<std::uint16_t> left;
    };
    const Case cases[] = {{0, {1, 2, 3}}, {1, {0, 2, 3}}, {3, {0, 1, 2}}};
    for (const Case& c : cases) {
        TaskPoolInit();
        SpendAbort();
        FrontEndTask* tasks[4];
        for (FrontEndTask*& task : tasks)
            task = TaskPoolAlloc(Record);
        TaskPoolFree(tasks[c.freed]);
        EXPECT_EQ(c.left, Run()) << "freed " << c.freed;
        // Both directions: walk back from the tail through Previous.
        std::vector<std::uint16_t> backwards;
        for (std::uint16_t i = c.left.back(); i != kNoFrontEndTask; i = tasks[i]->Previous)
            backwards.insert(backwards.begin(), i);
        EXPECT_EQ(c.left, backwards) << "freed " << c.freed;
    }
}

TEST_F(TaskPoolTest, RoutinesFreeAndAllocateDuringTheRun)
{
    SpendAbort();
    // A routine that frees itself does not stop the walk.
    FrontEndTask* self = TaskPoolAlloc(FreeSelf);
    TaskPoolAlloc(Record);
    EXPECT_EQ((std::vector<std::uint16_t>{self->Index, 1}), Run());
    EXPECT_EQ(1, TaskPoolCount());

    // A routine that frees a later record: the run passes it over.
    TaskPoolInit();
    SpendAbort();
    TaskPoolAlloc(FreeVictim);
    gVictim = TaskPoolAlloc(Record);
    TaskPoolAlloc(Record);
    EXPECT_EQ((std::vector<std::uint16_t>{0, 2}), Run());

    // A record allocated in the run runs in the same pass when its maker was not the tail.
    TaskPoolInit();
    SpendAbort();
    TaskPoolAlloc(Spawn);
    TaskPoolAlloc(Record);
    EXPECT_EQ((std::vector<std::uint16_t>{0, 2, 1, 2}), Run()) << "maker, its creating call, then the rest";
}

TEST_F(TaskPoolTest, AFullPoolHandsOutTheSpareUncalled)
{
    for (int i = 0; i < kFrontEndTaskCount; ++i)
        TaskPoolAlloc(nullptr);
    EXPECT_EQ(kFrontEndTaskCount, TaskPoolCount());
    FrontEndTask* spare = TaskPoolAlloc(Record);
    EXPECT_EQ(kFrontEndTaskSpare, spare->Index);
    EXPECT_EQ(0, spare->Live);
    EXPECT_TRUE(gCalls.empty());
    TaskPoolFree(spare);
    EXPECT_EQ(kFrontEndTaskCount, TaskPoolCount());
}

TEST_F(TaskPoolTest, TheSerialSkipsZero)
{
    host_testing::TaskPoolSetSerialCounter(0xFFFFFFFEu);
    FrontEndTask* task = TaskPoolAlloc(nullptr);
    EXPECT_EQ(0xFFFFFFFFu, TaskPoolReadSerial(task));
    TaskPoolFree(task);
    EXPECT_EQ(1u, TaskPoolReadSerial(task));
    EXPECT_EQ(2u, TaskPoolReadSerial(TaskPoolAlloc(nullptr)));
}

void Tick(FrontEndTask* task)
{
    ++task->Work[0];
    if (task->FirstCall == 0 && task->Work[0] > 3)
        TaskPoolFree(task);
}

TEST_F(TaskPoolTest, AnotherThreadAllocatesWhileThePoolRuns)
{
    SpendAbort();
    std::atomic<bool> done{false};
    std::atomic<int> spares{0};
    std::thread game([&] {
        for (int i = 0; i < 20000; ++i) {
            FrontEndTask* task = TaskPoolAlloc(Tick);
            if (task->Index == kFrontEndTaskSpare)
                ++spares;
            (void)TaskPoolReadSerial(task);
        }
        done = true;
    });
    int runs = 0;
    while (!done || TaskPoolCount() > 0) {
        TaskPoolRunAll();
        ++runs;
    }
    game.join();
    EXPECT_EQ(0, TaskPoolCount());
    EXPECT_GT(runs, 0);
    // Every record came back to the stack.
    for (int i = 0; i < kFrontEndTaskCount; ++i)
        ASSERT_NE(kFrontEndTaskSpare, TaskPoolAlloc(nullptr)->Index);
}

} // namespace
