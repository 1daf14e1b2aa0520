/** @file EventTest.cpp Auto- and manual-reset events, pulses and multi-event waits. */
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "os/system/Event.h"

using os::system::Event;

TEST(EventTest, AutoResetIsConsumedOnceManualResetStays)
{
    Event automatic;
    Event manual(true);
    automatic.Set();
    manual.Set();
    EXPECT_TRUE(automatic.Wait(0));
    EXPECT_FALSE(automatic.Wait(0));
    EXPECT_TRUE(manual.Wait(0));
    EXPECT_TRUE(manual.Wait(0));
    manual.Reset();
    EXPECT_FALSE(manual.Wait(0));
    EXPECT_TRUE(Event(false, true).IsSignalled());
}

TEST(EventTest, WaitForAnyReturnsTheLowestSignalledAndTimesOut)
{
    Event a;
    Event b;
    Event c;
    Event* all[] = {&a, &b, &c};
    c.Set();
    b.Set();
    EXPECT_EQ(1u, os::system::WaitForAnyEvent(all, 3, 0));
    EXPECT_EQ(2u, os::system::WaitForAnyEvent(all, 3, 0));
    EXPECT_EQ(os::system::kWaitTimeout, os::system::WaitForAnyEvent(all, 3, 0));
    EXPECT_EQ(os::system::kWaitTimeout, os::system::WaitForAnyEvent(all, 3, 5));
}

TEST(EventTest, PulseWakesOnlyAThreadThatIsWaiting)
{
    Event event;
    event.Pulse(); // nobody waits: lost
    EXPECT_FALSE(event.IsSignalled());

    std::atomic<bool> woke{false};
    std::thread waiter([&] { woke = event.Wait(os::system::kInfinite); });
    Event* list[] = {&event};
    ASSERT_TRUE(os::testing::WaitForWaiterOn(list, 1, 5000));
    event.Pulse();
    waiter.join();
    EXPECT_TRUE(woke);
    EXPECT_FALSE(event.IsSignalled());
}

TEST(EventTest, TrackedSignalsAreOutstandingUntilTheListenerComesBack)
{
    Event event;
    Event done;
    std::atomic<int> handled{0};
    std::thread listener([&] {
        Event* list[] = {&event, &done};
        while (os::system::WaitForAnyEvent(list, 2, os::system::kInfinite) == 0)
            ++handled;
    });
    Event* list[] = {&event};
    ASSERT_TRUE(os::testing::WaitForWaiterOn(list, 1, 5000));
    for (int i = 1; i <= 3; ++i) {
        os::testing::SetEventTracked(event);
        ASSERT_TRUE(os::testing::WaitForTrackedEvents(5000));
        EXPECT_EQ(i, handled.load());
    }
    done.Set();
    listener.join();
    // Nobody listens: the signal stays but nothing is outstanding.
    os::testing::SetEventTracked(event);
    EXPECT_TRUE(os::testing::WaitForTrackedEvents(0));
    EXPECT_TRUE(event.IsSignalled());
}
