/** @file EventTest.cpp Auto- and manual-reset events, pulses and multi-event waits. */
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "os/Values.h"
#include "os/system/Event.h"

using os::system::Event;
using ostest::V;

TEST(EventTest, ResetKindsWaitForAnyPulsesAndTrackedSignals)
{
    Event automatic, manual(true);
    automatic.Set();
    manual.Set();
    EXPECT_EQ((std::vector<bool>{automatic.Wait(0), automatic.Wait(0)}), (std::vector<bool>{true, false}));
    EXPECT_EQ(V(manual.Wait(0), manual.Wait(0)), V(true, true));
    manual.Reset();
    EXPECT_EQ(V(manual.Wait(0), Event(false, true).IsSignalled()), V(false, true));

    // A wait for any returns the lowest signalled, then times out.
    Event a, b, c;
    Event* all[] = {&a, &b, &c};
    c.Set();
    b.Set();
    const auto wait = [&](std::uint32_t ms) { return os::system::WaitForAnyEvent(all, 3, ms); };
    // Braces keep the waits in order.
    EXPECT_EQ((std::vector<std::uint32_t>{wait(0), wait(0), wait(0), wait(5)}),
              (std::vector<std::uint32_t>{1, 2, os::system::kWaitTimeout, os::system::kWaitTimeout}));

    // A pulse wakes only a thread that is waiting.
    Event event, done;
    event.Pulse(); // nobody waits: lost
    EXPECT_FALSE(event.IsSignalled());

    std::atomic<bool> woke{false};
    std::thread waiter([&] { woke = event.Wait(os::system::kInfinite); });
    Event* waited[] = {&event};
    ASSERT_TRUE(os::testing::WaitForWaiterOn(waited, 1, 5000));
    event.Pulse();
    waiter.join();
    EXPECT_EQ(V(woke.load(), event.IsSignalled()), V(true, false));

    // Tracked signals are outstanding until the listener comes back.
    std::atomic<int> handled{0};
    std::thread listener([&] {
        Event* list[] = {&event, &done};
        while (os::system::WaitForAnyEvent(list, 2, os::system::kInfinite) == 0)
            ++handled;
    });
    ASSERT_TRUE(os::testing::WaitForWaiterOn(waited, 1, 5000));
    for (int i = 1; i <= 3; ++i) {
        os::testing::SetEventTracked(event);
        ASSERT_TRUE(os::testing::WaitForTrackedEvents(5000));
        EXPECT_EQ(i, handled.load());
    }
    done.Set();
    listener.join();
    // Nobody listens: the signal stays but nothing is outstanding.
    os::testing::SetEventTracked(event);
    EXPECT_EQ(V(os::testing::WaitForTrackedEvents(0), event.IsSignalled()), V(true, true));
}
