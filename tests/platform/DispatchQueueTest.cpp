#include "platform/system/DispatchQueue.h"
#include "platform/system/FileLocations.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

using platform::DispatchQueue;

namespace {

TEST(DispatchQueueTest, ASerialQueueRunsBlocksInOrderOnOneThreadOfItsOwn)
{
    auto queue = DispatchQueue::createSerial("test.serial");
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    bool labelled = true;
    bool offMain = true;
    for (int i = 0; i < 100; ++i) {
        queue->async([&, i] {
            order.push_back(i);
            threads.push_back(std::this_thread::get_id());
            labelled = labelled && DispatchQueue::currentLabel() == "test.serial" && queue->isCurrent();
            offMain = offMain && !DispatchQueue::isMainThread();
        });
    }
    ASSERT_TRUE(queue->waitUntilIdle());
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    for (std::thread::id id : threads)
        EXPECT_EQ(id, threads.front());
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    EXPECT_TRUE(labelled);
    EXPECT_TRUE(offMain);
    EXPECT_FALSE(queue->isCurrent());
    EXPECT_EQ(DispatchQueue::currentLabel(), "");
}

TEST(DispatchQueueTest, TheGlobalQueueRunsBlocksAtTheSameTime)
{
    // Each block waits for the other: only concurrent blocks both get through.
    std::mutex mutex;
    std::condition_variable changed;
    int arrived = 0;
    std::atomic<int> metTheOther { 0 };
    for (int i = 0; i < 2; ++i) {
        DispatchQueue::global().async([&] {
            std::unique_lock lock(mutex);
            ++arrived;
            changed.notify_all();
            if (changed.wait_for(lock, std::chrono::seconds(10), [&] { return arrived == 2; }))
                ++metTheOther;
        });
    }
    ASSERT_TRUE(DispatchQueue::global().waitUntilIdle());
    EXPECT_EQ(metTheOther.load(), 2);
}

TEST(DispatchQueueTest, TheMainQueueRunsBlocksFromOtherThreadsInOrderOnTheMainThread)
{
    auto queue = DispatchQueue::createSerial("test.poster");
    std::vector<int> order;
    bool onMain = true;
    bool labelled = true;
    for (int i = 0; i < 20; ++i) {
        queue->async([&, i] {
            DispatchQueue::mainQueue().async([&, i] {
                order.push_back(i);
                onMain = onMain && DispatchQueue::isMainThread();
                labelled = labelled && DispatchQueue::mainQueue().isCurrent();
            });
        });
    }
    ASSERT_TRUE(queue->waitUntilIdle());
    ASSERT_TRUE(DispatchQueue::mainQueue().waitUntilIdle());
    ASSERT_EQ(order.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(onMain);
    EXPECT_TRUE(labelled);
}

TEST(DispatchQueueTest, ABlockOfTheGlobalQueueCanWaitForTheOthers)
{
    std::atomic<int> finished { 0 };
    std::promise<bool> waited;
    DispatchQueue::global().async([&] {
        DispatchQueue::global().async([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ++finished;
        });
        waited.set_value(DispatchQueue::global().waitUntilIdle(std::chrono::seconds(5)) && finished == 1);
    });
    auto future = waited.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(4)), std::future_status::ready);
    EXPECT_TRUE(future.get());
}

TEST(DispatchQueueTest, ReleasingASerialQueueStillRunsWhatWasQueued)
{
    std::atomic<int> ran { 0 };
    auto queue = DispatchQueue::createSerial("test.release");
    queue->async([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++ran;
    });
    for (int i = 0; i < 10; ++i)
        queue->async([&] { ++ran; });
    queue.reset();
    EXPECT_EQ(ran.load(), 11);
}

TEST(DispatchQueueTest, AQueueReleasedByItsOwnBlockEndsWithoutDeadlock)
{
    std::promise<void> done;
    std::promise<void> released;
    auto queue = DispatchQueue::createSerial("test.self");
    std::shared_ptr<DispatchQueue> held = queue;
    queue->async([&held, &done, releasedHere = released.get_future().share()] {
        // The last reference goes on the queue's own thread.
        releasedHere.wait();
        held.reset();
        done.set_value();
    });
    queue.reset();
    released.set_value();
    EXPECT_EQ(done.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

TEST(DispatchQueueTest, WaitingOnASerialQueueFromItsOwnBlockReturnsAtOnce)
{
    auto queue = DispatchQueue::createSerial("test.wait");
    std::promise<bool> result;
    queue->async([&] { result.set_value(queue->waitUntilIdle(std::chrono::seconds(5))); });
    auto future = result.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_FALSE(future.get());

    // A timeout while work is still running.
    std::promise<void> release;
    auto blocker = release.get_future().share();
    queue->async([blocker] { blocker.wait(); });
    EXPECT_FALSE(queue->waitUntilIdle(std::chrono::milliseconds(20)));
    release.set_value();
    EXPECT_TRUE(queue->waitUntilIdle());
}

TEST(FileLocationsTest, DocumentsIsMadeOnDemandAndCanBeMovedByTheEnvironment)
{
    QTemporaryDir base;
    const QString documents = base.path() + "/some/Documents";
    qputenv("PINTARO_DOCUMENTS", documents.toUtf8());
    EXPECT_EQ(platform::FileLocations::documentsDirectory(), documents);
    EXPECT_TRUE(QDir(documents).exists());
    EXPECT_EQ(platform::FileLocations::documentPath("video.mp4"), documents + "/video.mp4");

    qunsetenv("PINTARO_DOCUMENTS");
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (base.path() + "/data").toUtf8());
    EXPECT_EQ(platform::FileLocations::documentsDirectory(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Pintaro/Documents");
    EXPECT_TRUE(platform::FileLocations::documentsDirectory().startsWith(base.path()));
    if (savedDataHome.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedDataHome);
}

}
