#include "platform/system/DispatchQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

namespace {

// What the calling thread is running, for isCurrent() and currentLabel(). It
// points at state that outlives the queue object while a worker still runs.
struct RunningQueue {
    const void* identity { nullptr };
    const std::string* label { nullptr };
};
// Per thread; only the owning thread touches it.
thread_local RunningQueue t_running;

class RunningScope final {
public:
    RunningScope(const void* identity, const std::string* label)
        : m_saved(t_running)
    {
        t_running = { identity, label };
    }
    ~RunningScope() { t_running = m_saved; }

private:
    RunningQueue m_saved;
};

// Shared by a worker queue and its threads, so that a thread can finish the
// block it is in even when that block released the last reference to the queue.
struct WorkerState {
    std::string label;
    std::mutex mutex;
    std::condition_variable workAvailable;
    std::condition_variable idle;
    std::deque<std::function<void()>> blocks;
    int running { 0 };
    bool stopping { false };
};

void runWorker(std::shared_ptr<WorkerState> state)
{
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->workAvailable.wait(lock, [&] { return state->stopping || !state->blocks.empty(); });
        if (state->blocks.empty())
            return;
        std::function<void()> block = std::move(state->blocks.front());
        state->blocks.pop_front();
        ++state->running;
        lock.unlock();
        {
            RunningScope scope(state.get(), &state->label);
            block();
            // The block's captures go here, outside the lock, as they may own queues.
            block = nullptr;
        }
        lock.lock();
        --state->running;
        // Waiters inside a block of this queue count themselves as running,
        // so they are woken whenever the queue runs dry, not only at zero.
        if (state->blocks.empty())
            state->idle.notify_all();
    }
}

class WorkerQueue final : public DispatchQueue {
public:
    WorkerQueue(const std::string& label, int threadCount)
        : DispatchQueue(label)
        , m_state(std::make_shared<WorkerState>())
    {
        m_state->label = label;
        for (int i = 0; i < threadCount; ++i)
            m_threads.emplace_back(runWorker, m_state);
    }

    ~WorkerQueue() override
    {
        {
            std::lock_guard lock(m_state->mutex);
            m_state->stopping = true;
        }
        m_state->workAvailable.notify_all();
        for (std::thread& thread : m_threads) {
            if (thread.get_id() == std::this_thread::get_id())
                thread.detach();
            else
                thread.join();
        }
    }

    void async(std::function<void()> work) override
    {
        {
            std::lock_guard lock(m_state->mutex);
            m_state->blocks.push_back(std::move(work));
        }
        m_state->workAvailable.notify_one();
    }

    bool waitUntilIdle(std::chrono::milliseconds timeout) override
    {
        if (isCurrent() && m_threads.size() == 1)
            return false;
        // A block of this queue waiting for it counts itself as running.
        const int self = isCurrent() ? 1 : 0;
        std::unique_lock lock(m_state->mutex);
        return m_state->idle.wait_for(lock, timeout, [&] {
            return m_state->blocks.empty() && m_state->running <= self;
        });
    }

    bool isCurrent() const override { return t_running.identity == m_state.get(); }

private:
    std::shared_ptr<WorkerState> m_state;
    std::vector<std::thread> m_threads;
};

class MainQueue final : public DispatchQueue {
public:
    MainQueue()
        : DispatchQueue("main")
    {
    }

    void async(std::function<void()> work) override
    {
        QCoreApplication* application = QCoreApplication::instance();
        if (!application) {
            std::fputs("The main queue needs a QCoreApplication; a block was dropped.\n", stderr);
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            ++m_pending;
        }
        // Queued calls to one receiver are delivered in the order they were posted.
        QMetaObject::invokeMethod(
            application,
            [this, work = std::move(work)] {
                {
                    RunningScope scope(this, &label());
                    work();
                }
                std::lock_guard lock(m_mutex);
                if (--m_pending == 0)
                    m_idle.notify_all();
            },
            Qt::QueuedConnection);
    }

    bool waitUntilIdle(std::chrono::milliseconds timeout) override
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        if (!isMainThread()) {
            std::unique_lock lock(m_mutex);
            return m_idle.wait_until(lock, deadline, [&] { return m_pending == 0; });
        }
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            std::unique_lock lock(m_mutex);
            if (m_pending == 0)
                return true;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            // The blocks still pending were posted from other threads and may
            // not have arrived yet; look again shortly.
            m_idle.wait_for(lock, std::chrono::milliseconds(1));
        }
    }

    bool isCurrent() const override { return t_running.identity == this; }

private:
    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_pending { 0 };
};

}

DispatchQueue& DispatchQueue::global()
{
    // Process-wide, made on first use; its own lock guards it for every thread.
    static WorkerQueue queue("global", static_cast<int>(std::max(2u, std::thread::hardware_concurrency())));
    return queue;
}

DispatchQueue& DispatchQueue::mainQueue()
{
    // Process-wide, made on first use; its own lock guards it for every thread.
    static MainQueue queue;
    return queue;
}

std::shared_ptr<DispatchQueue> DispatchQueue::createSerial(const std::string& label)
{
    return std::make_shared<WorkerQueue>(label, 1);
}

bool DispatchQueue::isMainThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

std::string DispatchQueue::currentLabel()
{
    return t_running.label ? *t_running.label : std::string();
}

}
