/** @file FrontEndTaskPool.cpp The front end's cooperative tasks. */
#include "host/FrontEndTaskPool.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace
{

constexpr int kListCount = 16;

void StoreSerial(FrontEndTask& task, std::uint32_t serial)
{
    std::atomic_ref<std::uint32_t>(task.Serial).store(serial, std::memory_order_release);
}

/// Zeroes the record and gives it its index. A game thread reads the index and the serial without
/// the pool's lock (the spare's too, while the main thread hands the spare out again): those two
/// are written with the atomic access their readers use, never by a plain clear.
void ClearRecord(FrontEndTask& task, std::uint16_t index)
{
    task.Live = 0;
    task.List = 0;
    task.InUse = 0;
    task.Reserved = 0;
    task.State = 0;
    task.FirstCall = 0;
    std::atomic_ref<std::uint16_t>(task.Index).store(index, std::memory_order_release);
    StoreSerial(task, 0);
    task.Previous = 0;
    task.Next = 0;
    task.Timer = 0.0f;
    task.Routine = nullptr;
    std::memset(task.Words, 0, sizeof(task.Words));
    std::memset(task.Links, 0, sizeof(task.Links));
    std::memset(task.Work, 0, sizeof(task.Work));
}

struct TaskList
{
    std::uint16_t Head = kNoFrontEndTask;
    std::uint16_t Tail = kNoFrontEndTask;
    std::uint16_t Count = 0;
};

struct TaskPool
{
    FrontEndTask Records[kFrontEndTaskCount + 1];
    std::uint16_t FreeStack[kFrontEndTaskCount + 1];
    std::uint16_t* StackTop = FreeStack;
    TaskList Lists[kListCount];
    std::uint32_t SerialCounter = 1;
    std::int16_t Cap = 0;
    std::uint32_t Abort = 1;
    /// While a run walks the lists: the record it goes on with after the current routine.
    std::uint16_t RunNext = kNoFrontEndTask;

    TaskPool() { Reset(); }

    void Reset()
    {
        for (std::uint16_t i = 0; i <= kFrontEndTaskCount; ++i) {
            ClearRecord(Records[i], i);
            Records[i].Previous = kNoFrontEndTask;
            Records[i].Next = kNoFrontEndTask;
        }
        for (std::uint16_t i = 0; i < kFrontEndTaskCount; ++i)
            FreeStack[i] = i;
        FreeStack[kFrontEndTaskCount] = kNoFrontEndTask;
        StackTop = FreeStack;
        for (TaskList& list : Lists)
            list = TaskList();
        SerialCounter = 1;
        Abort = 1;
        RunNext = kNoFrontEndTask;
    }
};

std::recursive_mutex& PoolLock()
{
    static std::recursive_mutex lock;
    return lock;
}

TaskPool& Pool()
{
    static TaskPool* pool = new TaskPool; // never destroyed: a game thread may still ask for a serial
    return *pool;
}

std::uint32_t NextSerial(TaskPool& pool)
{
    if (++pool.SerialCounter == 0)
        pool.SerialCounter = 1;
    return pool.SerialCounter;
}

std::int32_t CountLocked(const TaskPool& pool)
{
    std::int32_t count = 0;
    for (const TaskList& list : pool.Lists)
        count += list.Count;
    return count;
}

FrontEndTask* Spare(TaskPool& pool)
{
    FrontEndTask& spare = pool.Records[kFrontEndTaskSpare];
    ClearRecord(spare, kFrontEndTaskSpare);
    return &spare;
}

} // namespace

void TaskPoolInit()
{
    std::lock_guard<std::recursive_mutex> lock(PoolLock());
    Pool().Reset();
}

FrontEndTask* TaskPoolAlloc(FrontEndTaskRoutine routine)
{
    std::lock_guard<std::recursive_mutex> lock(PoolLock());
    TaskPool& pool = Pool();
    if ((pool.Cap > 0 && CountLocked(pool) >= pool.Cap) || *pool.StackTop == kNoFrontEndTask)
        return Spare(pool);

    const std::uint16_t index = *pool.StackTop++;
    FrontEndTask& task = pool.Records[index];
    TaskList& list = pool.Lists[0];
    task.Previous = list.Tail;
    if (list.Tail != kNoFrontEndTask)
        pool.Records[list.Tail].Next = index;
    else
        list.Head = index;
    task.Next = kNoFrontEndTask;
    list.Tail = index;

    StoreSerial(task, NextSerial(pool));
    task.Timer = 0.0f;
    task.Live = 1;
    task.List = 0;
    task.Routine = routine;
    task.InUse = 1;
    task.State = 0;
    task.FirstCall = 1;
    std::memset(task.Work, 0, sizeof(task.Work));
    ++list.Count;
    for (std::uint32_t& link : task.Links)
        link = 0xFFFFFFFFu;

    if (routine != nullptr)
        routine(&task);
    return &task;
}

void TaskPoolFree(FrontEndTask* task)
{
    std::lock_guard<std::recursive_mutex> lock(PoolLock());
    TaskPool& pool = Pool();
    if (task == nullptr || task->Live == 0 || task->Index >= kFrontEndTaskCount)
        return;
    *--pool.StackTop = task->Index;
    TaskList& list = pool.Lists[task->List >= 0 && task->List < kListCount ? task->List : 0];
    --list.Count;
    // A routine that frees the record the run goes on with moves the run past it: the index may
    // be handed out again before the routine returns, as a new record at the tail.
    if (pool.RunNext == task->Index)
        pool.RunNext = task->Next;
    StoreSerial(*task, NextSerial(pool));
    if (list.Head == task->Index)
        list.Head = task->Next;
    if (list.Tail == task->Index)
        list.Tail = task->Previous;
    if (task->Previous != kNoFrontEndTask)
        pool.Records[task->Previous].Next = task->Next;
    if (task->Next != kNoFrontEndTask)
        pool.Records[task->Next].Previous = task->Previous;
    task->Live = 0;
    task->InUse = 0;
}

void TaskPoolRunAll()
{
    std::lock_guard<std::recursive_mutex> lock(PoolLock());
    TaskPool& pool = Pool();
    struct RunEnd
    {
        TaskPool& Pool;
        ~RunEnd() { Pool.RunNext = kNoFrontEndTask; }
    } runEnd{pool};
    for (int l = 0; l < kListCount; ++l) {
        std::uint16_t index = pool.Lists[l].Head;
        while (index != kNoFrontEndTask) {
            FrontEndTask& task = pool.Records[index];
            pool.RunNext = task.Next;
            if (task.Live != 0) {
                task.FirstCall = 0;
                if (task.Routine != nullptr)
                    task.Routine(&task);
                if (pool.Abort != 0) {
                    pool.Abort = 0;
                    return;
                }
            }
            index = pool.RunNext;
        }
    }
}

std::int32_t TaskPoolCount()
{
    std::lock_guard<std::recursive_mutex> lock(PoolLock());
    return CountLocked(Pool());
}

std::uint32_t TaskPoolReadSerial(const FrontEndTask* task)
{
    return std::atomic_ref<std::uint32_t>(const_cast<FrontEndTask*>(task)->Serial).load(std::memory_order_acquire);
}

std::uint16_t TaskPoolReadIndex(const FrontEndTask* task)
{
    return std::atomic_ref<std::uint16_t>(const_cast<FrontEndTask*>(task)->Index).load(std::memory_order_acquire);
}

void host_testing::TaskPoolSetSerialCounter(std::uint32_t serial)
{
    std::lock_guard<std::recursive_mutex> lock(PoolLock());
    Pool().SerialCounter = serial;
}
