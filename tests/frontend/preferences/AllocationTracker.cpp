/** @file AllocationTracker.cpp Replaces the global operator new to remember the largest request. */
#include <atomic>
#include <cstdlib>
#include <new>

/// The largest single operator-new request since the test last cleared it.
std::atomic<std::size_t> gLargestAllocation{0};

void* operator new(std::size_t size)
{
    std::size_t seen = gLargestAllocation.load(std::memory_order_relaxed);
    while (size > seen && !gLargestAllocation.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
