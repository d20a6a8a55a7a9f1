#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Queues of work in the manner of Grand Central Dispatch: the global queue runs
// blocks concurrently on a pool of threads, the main queue runs them one after
// another on the thread of the Qt event loop, and a serial queue runs them in
// order on a worker thread of its own.
class DispatchQueue {
public:
    virtual ~DispatchQueue() = default;
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    const std::string& label() const { return m_label; }

    // Queues the block and returns at once. Safe to call from any thread.
    virtual void async(std::function<void()> work) = 0;

    // Blocks until every block queued so far, and whatever they queued here in
    // turn, has run. On the main thread the main queue runs its blocks meanwhile.
    // Returns false on timeout, and at once when called from a block of this
    // same serial queue, which could never drain while it waits.
    virtual bool waitUntilIdle(std::chrono::milliseconds timeout = std::chrono::minutes(2)) = 0;

    // Whether the calling thread is running a block of this queue.
    virtual bool isCurrent() const = 0;

    // The concurrent queue of default priority, shared by the whole program.
    static DispatchQueue& global();
    // The queue of the main thread; needs a QCoreApplication to run anything.
    static DispatchQueue& mainQueue();
    // A new serial queue with a worker thread of its own. Blocks still queued
    // when the last reference goes are run before the thread ends.
    static std::shared_ptr<DispatchQueue> createSerial(const std::string& label);

    static bool isMainThread();
    // The label of the queue whose block the calling thread is running, or an
    // empty string outside any queue.
    static std::string currentLabel();

protected:
    explicit DispatchQueue(std::string label)
        : m_label(std::move(label))
    {
    }

private:
    std::string m_label;
};

}
