/** @file TaskPoolTest.cpp The front-end task pool: allocation, freeing, runs and a second thread. */
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "host/FrontEndTaskPool.h"

namespace
{

using Indices = std::vector<std::uint16_t>;

// What the routines saw, for the checks.
Indices gCalls;
std::vector<std::uint8_t> gFirstCalls;
FrontEndTask* gNext = nullptr; ///< the record the routines free (a row's chosen index)

void Record(FrontEndTask* task)
{
    gCalls.push_back(task->Index);
    gFirstCalls.push_back(task->FirstCall);
}

// Each acts once it runs in a pass (not at its allocation).
void FreeNext(FrontEndTask* task)
{
    Record(task);
    TaskPoolFree(task->FirstCall == 0 ? gNext : nullptr);
}

/// Frees the record after it and starts a new one, which takes the freed index again.
void ReplaceNext(FrontEndTask* task)
{
    Record(task);
    if (task->FirstCall == 0 && gNext != nullptr) {
        TaskPoolFree(gNext);
        gNext = nullptr;
        TaskPoolAlloc(Record);
    }
}

void Spawn(FrontEndTask* task)
{
    Record(task);
    if (task->FirstCall == 0 && task->State == 0) {
        task->State = 1;
        TaskPoolAlloc(Record);
    }
}

/// A fresh pool whose first run (which stops after one routine) is spent on a throw-away record.
void Fresh()
{
    TaskPoolInit();
    FrontEndTask* task = TaskPoolAlloc(Record);
    TaskPoolRunAll();
    TaskPoolFree(task);
}

/// Runs the pool once and returns the indices called.
Indices RunPool()
{
    gCalls.clear();
    TaskPoolRunAll();
    return gCalls;
}

TEST(TaskPool, AllocationSerialsTheSpareFreeingBeforeAndDuringTheRunAndAnotherThreadAllocating)
{
    TaskPoolInit();
    gCalls.clear();
    gFirstCalls.clear();
    FrontEndTask* first = TaskPoolAlloc(Record);
    // Index, serial, live, in use, state 0, links and work cleared.
    EXPECT_EQ(std::tuple(0, 2u, 1, 1, 0, 0xFFFFFFFFu, 0),
              std::tuple(first->Index, TaskPoolReadSerial(first), first->Live, first->InUse, first->State,
                         first->Links[7], first->Work[767]));
    EXPECT_EQ(std::pair(Indices{0}, std::vector<std::uint8_t>{1}), std::pair(gCalls, gFirstCalls));

    EXPECT_EQ(3u, TaskPoolReadSerial(TaskPoolAlloc(Record)));
    // The first run stops after its first routine; later runs call every record, first-call cleared.
    EXPECT_EQ(Indices{0}, RunPool());
    EXPECT_EQ((Indices{0, 1}), RunPool());
    EXPECT_EQ(0, gFirstCalls.back());

    // Freed: new serial, back on the stack, lowest index first again.
    TaskPoolFree(first);
    EXPECT_EQ(std::pair(4u, 0), std::pair(TaskPoolReadSerial(first), static_cast<int>(first->Live)));
    TaskPoolFree(first); // twice: nothing
    // Braces: read in this order.
    EXPECT_EQ(std::tuple(4u, 1, 0),
              (std::tuple{TaskPoolReadSerial(first), TaskPoolCount(), TaskPoolAlloc(Record)->Index}));

    // The serial skips zero.
    host_testing::TaskPoolSetSerialCounter(0xFFFFFFFEu);
    FrontEndTask* task = TaskPoolAlloc(nullptr);
    const std::uint32_t last = TaskPoolReadSerial(task);
    TaskPoolFree(task);
    EXPECT_EQ(std::tuple(0xFFFFFFFFu, 1u, 2u),
              (std::tuple{last, TaskPoolReadSerial(task), TaskPoolReadSerial(TaskPoolAlloc(nullptr))}));

    // A full pool hands out the spare, uncalled.
    TaskPoolInit();
    for (int i = 0; i < kFrontEndTaskCount; ++i)
        TaskPoolAlloc(nullptr);
    gCalls.clear();
    FrontEndTask* spare = TaskPoolAlloc(Record);
    EXPECT_EQ(std::tuple(kFrontEndTaskSpare, 0, true), std::tuple(spare->Index, spare->Live, gCalls.empty()));
    TaskPoolFree(spare);
    EXPECT_EQ(kFrontEndTaskCount, TaskPoolCount());
    // A game thread whose post got the spare reads its index and serial while the main thread hands
    // the spare out again: it never sees them cleared half-way.
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0}, torn{0};
    std::thread reader([&] {
        while (!stop) {
            if (TaskPoolReadIndex(spare) != kFrontEndTaskSpare || TaskPoolReadSerial(spare) != 0)
                ++torn;
            ++reads;
        }
    });
    for (int i = 0; i < 100000 || reads < 100000; ++i)
        TaskPoolAlloc(nullptr);
    stop = true;
    reader.join();
    EXPECT_EQ(0, torn.load());

    // Freeing before the run keeps the list whole, both ways.
    const std::pair<int, Indices> cases[] = {{0, {1, 2, 3}}, {1, {0, 2, 3}}, {3, {0, 1, 2}}};
    for (const auto& [freed, left] : cases) {
        Fresh();
        FrontEndTask* tasks[4];
        for (FrontEndTask*& task : tasks)
            task = TaskPoolAlloc(Record);
        TaskPoolFree(tasks[freed]);
        EXPECT_EQ(left, RunPool()) << "freed " << freed;
        // Both directions: walk back from the tail through Previous.
        Indices backwards;
        for (std::uint16_t i = left.back(); i != kNoFrontEndTask; i = tasks[i]->Previous)
            backwards.insert(backwards.begin(), i);
        EXPECT_EQ(left, backwards) << "freed " << freed;
    }

    // A record made in the run (maker not the tail) runs in the same pass after its creating call.
    // Freeing the next record and allocating got its index back at the tail: the run once jumped
    // there, passing over every record in between.
    const std::tuple<const char*, std::vector<FrontEndTaskRoutine>, int, Indices, Indices> routineCases[] = {
        {"frees itself", {FreeNext, Record}, 0, {0, 1}, {1}},
        {"frees a later one", {FreeNext, Record, Record}, 1, {0, 2}, {0, 2}},
        {"spawns", {Spawn, Record}, 1, {0, 2, 1, 2}, {0, 1, 2}},
        {"replaces the next", {ReplaceNext, Record, Record, Record}, 1, {0, 1, 2, 3, 1}, {0, 2, 3, 1}}};
    for (const auto& [name, routines, next, run, second] : routineCases) {
        Fresh();
        for (FrontEndTaskRoutine routine : routines) {
            FrontEndTask* task = TaskPoolAlloc(routine);
            if (task->Index == next)
                gNext = task;
        }
        EXPECT_EQ(run, RunPool()) << name;
        EXPECT_EQ(second, RunPool()) << name;
    }

    // Another thread allocates while the pool runs, each record freeing itself after a few runs.
    Fresh();
    std::atomic<bool> done{false};
    std::thread game([&] {
        for (int i = 0; i < 20000; ++i)
            (void)TaskPoolReadSerial(TaskPoolAlloc([](FrontEndTask* task) {
                if (++task->Work[0] > 3 && task->FirstCall == 0)
                    TaskPoolFree(task);
            }));
        done = true;
    });
    while (!done || TaskPoolCount() > 0)
        TaskPoolRunAll();
    game.join();
    // Every record came back to the stack.
    for (int i = 0; i < kFrontEndTaskCount; ++i)
        EXPECT_NE(kFrontEndTaskSpare, TaskPoolAlloc(nullptr)->Index) << i;
    TaskPoolInit();
}

} // namespace
