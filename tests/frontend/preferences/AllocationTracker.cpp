/** @file AllocationTracker.cpp Replaces the global operator new to remember the largest request. */
#include <atomic>
#include <cstdlib>
#include <new>

namespace prefs_test
{

namespace
{
std::atomic<std::size_t> gLargest{0};
}

std::size_t LargestAllocation()
{
    return gLargest.load();
}

void ResetLargestAllocation()
{
    gLargest.store(0);
}

} // namespace prefs_test

void* operator new(std::size_t size)
{
    std::size_t seen = prefs_test::gLargest.load(std::memory_order_relaxed);
    while (size > seen && !prefs_test::gLargest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
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
