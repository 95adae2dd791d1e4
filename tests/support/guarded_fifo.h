#pragma once
// A named pipe for tests of code that must refuse it without opening it. Should the code open
// it anyway, the open would wait for ever for a writer; the guard then opens the writing end
// after a while, so the test goes on (and fails on Opened()) instead of hanging.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm880::test {

class GuardedFifo {
public:
    explicit GuardedFifo(std::string path, std::chrono::milliseconds patience = std::chrono::seconds(2))
        : path_(std::move(path))
    {
        made_ = ::mkfifo(path_.c_str(), 0600) == 0;
        watcher_ = std::thread([this, patience] {
            std::unique_lock lock(mutex_);
            if (stop_.wait_for(lock, patience, [this] { return stopped_; }))
                return;
            // A reader is stuck in open() or read(): a writer that comes and goes releases it.
            while (!stop_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stopped_; })) {
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    opened_ = true;
                    ::close(fd);
                }
            }
        });
    }
    ~GuardedFifo()
    {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        stop_.notify_all();
        watcher_.join();
    }
    GuardedFifo(const GuardedFifo&) = delete;
    GuardedFifo& operator=(const GuardedFifo&) = delete;

    const std::string& path() const { return path_; }
    bool Made() const { return made_; }
    // True when something opened the pipe for reading and had to be released.
    bool Opened() const { return opened_; }

private:
    std::string path_;
    bool made_ = false;
    std::atomic<bool> opened_{false};
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopped_ = false;
    std::thread watcher_;
};

} // namespace vm880::test
