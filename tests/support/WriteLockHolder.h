#pragma once
// Another program writing to a database file: from a thread of its own, it takes the write lock
// (an open write transaction) for a while, then commits.
#include "core/Database.h"

#include <QString>
#include <chrono>
#include <future>
#include <thread>

class WriteLockHolder {
public:
    // Returns once the lock is held; it is let go `hold` later.
    WriteLockHolder(const QString& databaseFile, std::chrono::milliseconds hold)
    {
        std::promise<void> held;
        std::future<void> taken = held.get_future();
        m_thread = std::thread([file = databaseFile, hold, held = std::move(held)]() mutable {
            Database other;   // a connection of this thread alone
            other.open({file, {}});
            other.beginTransaction();
            held.set_value();
            std::this_thread::sleep_for(hold);
            other.commit();
        });
        taken.wait();
    }
    ~WriteLockHolder() { m_thread.join(); }
    WriteLockHolder(const WriteLockHolder&) = delete;
    WriteLockHolder& operator=(const WriteLockHolder&) = delete;

private:
    std::thread m_thread;
};
