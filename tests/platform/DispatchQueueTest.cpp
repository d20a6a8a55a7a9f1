#include "platform/system/DispatchQueue.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using platform::DispatchQueue;
using namespace std::chrono_literals;

TEST(DispatchQueue, SerialAndMainQueuesRunBlocksInOrderOffTheCaller)
{
    auto queue = DispatchQueue::createSerial("test.serial");
    std::vector<int> serialOrder, mainOrder, expected;
    std::atomic<bool> misplaced { false };
    const auto caller = std::this_thread::get_id();
    for (int i = 0; i < 50; ++i) {
        expected.push_back(i);
        queue->async([&, i] {
            serialOrder.push_back(i);
            misplaced = misplaced || std::this_thread::get_id() == caller || !queue->isCurrent()
                || DispatchQueue::currentLabel() != "test.serial";
            DispatchQueue::mainQueue().async([&, i] {
                mainOrder.push_back(i);
                misplaced = misplaced || !DispatchQueue::isMainThread() || !DispatchQueue::mainQueue().isCurrent();
            });
        });
    }
    ASSERT_TRUE(queue->waitUntilIdle());
    ASSERT_TRUE(DispatchQueue::mainQueue().waitUntilIdle());
    EXPECT_EQ(serialOrder, expected);
    EXPECT_EQ(mainOrder, expected);
    EXPECT_FALSE(misplaced);
    EXPECT_FALSE(queue->isCurrent());
}

// Only a queue that runs blocks side by side lets the inner block through, and
// the waiting block must be woken when the queue runs dry, not time out.
TEST(DispatchQueue, ABlockOfTheGlobalQueueCanWaitForTheOthers)
{
    std::atomic<int> finished { 0 };
    std::promise<bool> waited;
    DispatchQueue::global().async([&] {
        DispatchQueue::global().async([&] {
            std::this_thread::sleep_for(20ms);
            ++finished;
        });
        waited.set_value(DispatchQueue::global().waitUntilIdle(5s) && finished == 1);
    });
    auto future = waited.get_future();
    ASSERT_EQ(future.wait_for(4s), std::future_status::ready);
    EXPECT_TRUE(future.get());
}

// An encoder released from its own delegate call drops the last reference to
// its queue on that queue's thread, which cannot wait for itself.
TEST(DispatchQueue, ASerialQueueCanBeReleasedFromItsOwnBlock)
{
    std::promise<void> done, released;
    auto queue = DispatchQueue::createSerial("test.self");
    std::shared_ptr<DispatchQueue> held = queue;
    queue->async([&held, &done, releasedHere = released.get_future().share()] {
        releasedHere.wait();
        held.reset();
        done.set_value();
    });
    queue.reset();
    released.set_value();
    EXPECT_EQ(done.get_future().wait_for(10s), std::future_status::ready);
}
