// The audio thread's priority is taken on the thread that renders, once per thread: SDL's
// PipeWire backend renders on a thread SDL does not raise.
#include "platform/midi/RenderThreadPriority.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace tamtara {
namespace {

TEST(RenderThreadPriority, RaisesEachRenderingThreadOnceFromItsFirstPeriod) {
    std::mutex mutex;
    std::vector<std::thread::id> raised;
    RenderThreadPriority priority([&] {
        std::lock_guard lock(mutex);
        raised.push_back(std::this_thread::get_id());
    });
    // Made on one thread, it raises nothing there.
    EXPECT_TRUE(raised.empty());

    std::thread::id first;
    std::thread renderer([&] {
        first = std::this_thread::get_id();
        for (int period = 0; period < 5; ++period)
            priority.OnRender();
    });
    renderer.join();
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], first);

    // A stream reopened on a new thread (a backend that fell back) raises that one too.
    std::thread::id second;
    std::thread next([&] {
        second = std::this_thread::get_id();
        priority.OnRender();
        priority.OnRender();
    });
    next.join();
    ASSERT_EQ(raised.size(), 2u);
    EXPECT_EQ(raised[1], second);
}

TEST(RenderThreadPriority, ASecondStreamOnAThreadThatRenderedBeforeAsksAgain) {
    int firstRaised = 0;
    int secondRaised = 0;
    std::thread renderer([&] {
        {
            RenderThreadPriority first([&] { ++firstRaised; });
            first.OnRender();
            first.OnRender();
        }
        RenderThreadPriority second([&] { ++secondRaised; });
        second.OnRender();
    });
    renderer.join();
    EXPECT_EQ(firstRaised, 1);
    EXPECT_EQ(secondRaised, 1);
}

} // namespace
} // namespace tamtara
