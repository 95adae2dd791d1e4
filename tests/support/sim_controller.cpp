#include "sim_controller.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace vm880::test {

namespace {

using Clock = std::chrono::steady_clock;

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

SimController::SimController() : started_(Clock::now())
{
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
    slavePath_ = name;

    // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);

    int wake[2];
    if (::pipe(wake) != 0) {
        closeFd(master_);
        closeFd(slave_);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    ::fcntl(wakeRead_, F_SETFL, O_NONBLOCK);
    ::fcntl(master_, F_SETFL, O_NONBLOCK);

    thread_ = std::thread([this] { run(); });
}

SimController::~SimController()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake();
    if (thread_.joinable())
        thread_.join();
    closeFd(master_);
    closeFd(slave_);
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
}

void SimController::SetReplyDelay(int ms)
{
    std::lock_guard lock(mutex_);
    replyDelayMs_ = ms;
}

void SimController::SetPaceUs(int us)
{
    std::lock_guard lock(mutex_);
    paceUs_ = us;
}

void SimController::SetPolicy(Policy policy)
{
    std::lock_guard lock(mutex_);
    policy_ = std::move(policy);
}

void SimController::FaultOnLine(int number, SimReply reply)
{
    std::lock_guard lock(mutex_);
    lineFaults_[number] = std::move(reply);
}

void SimController::FaultOnPattern(std::string text, SimReply reply)
{
    std::lock_guard lock(mutex_);
    patternFaults_.emplace_back(std::move(text), std::move(reply));
}

void SimController::HangUp()
{
    {
        std::lock_guard lock(mutex_);
        hangUpRequested_ = true;
    }
    wake();
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(5), [this] { return hungUp_ || stop_; });
}

bool SimController::HungUp() const
{
    std::lock_guard lock(mutex_);
    return hungUp_;
}

std::vector<SimLine> SimController::Lines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> SimController::Commands() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> commands;
    for (const SimLine& line : lines_)
        if (line.number > 0)
            commands.push_back(line.text);
    return commands;
}

std::string SimController::Received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<SimWrite> SimController::Writes() const
{
    std::lock_guard lock(mutex_);
    return writes_;
}

bool SimController::WaitForLines(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return lines_.size() >= count; });
}

bool SimController::WaitForWrites(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return writes_.size() >= count; });
}

void SimController::wake()
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void SimController::run()
{
    char buffer[4096];
    for (;;) {
        // To the microsecond: paced characters are about a millisecond apart.
        timespec wait{};
        timespec* timeout = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
            if (hangUpRequested_ && !hungUp_) {
                closeMaster();
                hungUp_ = true;
                changed_.notify_all();
            }
            if (!schedule_.empty()) {
                const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::max(Clock::duration::zero(), schedule_.begin()->first - Clock::now()));
                wait.tv_sec = static_cast<time_t>(left.count() / 1000000000);
                wait.tv_nsec = static_cast<long>(left.count() % 1000000000);
                timeout = &wait;
            }
        }

        pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {master_, POLLIN, 0}};
        const nfds_t count = master_ >= 0 ? 2 : 1;
        const int ready = ::ppoll(fds, count, timeout, nullptr);
        if (ready < 0 && errno != EINTR)
            return;

        if (fds[0].revents & POLLIN) {
            while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
            }
        }
        if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                receive(buffer, static_cast<std::size_t>(n), Clock::now());
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // The terminal is gone; polling it again would only spin.
                std::lock_guard lock(mutex_);
                closeMaster();
                hungUp_ = true;
                changed_.notify_all();
            }
        }
        writeDue(Clock::now());
    }
}

void SimController::receive(const char* data, std::size_t size, SimTime now)
{
    std::vector<SimLine> complete;
    {
        std::lock_guard lock(mutex_);
        received_.append(data, size);
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (c == '\n')
                continue;
            if (c != '\r') {
                partial_ += c;
                continue;
            }
            SimLine line;
            line.number = partial_.empty() ? 0 : ++commandCount_;
            line.text = std::move(partial_);
            line.at = now;
            partial_.clear();
            lines_.push_back(line);
            complete.push_back(std::move(line));
        }
        if (!complete.empty())
            changed_.notify_all();
    }
    for (const SimLine& line : complete)
        answer(line);
}

void SimController::answer(const SimLine& line)
{
    SimReply reply;
    Policy policy;
    bool chosen = false;
    int delayMs = 0;
    {
        std::lock_guard lock(mutex_);
        delayMs = replyDelayMs_;
        if (line.number > 0) {
            if (auto it = lineFaults_.find(line.number); it != lineFaults_.end()) {
                reply = it->second;
                chosen = true;
            }
            for (const auto& [text, faulty] : patternFaults_) {
                if (!chosen && line.text.find(text) != std::string::npos) {
                    reply = faulty;
                    chosen = true;
                }
            }
        }
        policy = policy_;
    }
    if (!chosen) {
        if (policy)
            reply = policy(line);
        else if (line.number > 0)
            reply = SimReply::Ack(delayMs);
    }

    std::lock_guard lock(mutex_);
    SimTime due = line.at;
    if (reply.echo)
        due = place(due, line.text + "\r");
    for (const SimReply::Chunk& chunk : reply.chunks)
        due = place(due + std::chrono::milliseconds(chunk.delayMs), chunk.bytes);
    if (reply.hangUp)
        schedule_.emplace(due, Scheduled{"", true});
}

// Schedules `bytes` from `due` on; returns when their write is out. Called with the lock held.
SimTime SimController::place(SimTime due, const std::string& bytes)
{
    if (paceUs_ <= 0) {
        schedule_.emplace(due, Scheduled{bytes, false});
        return due;
    }
    for (char c : bytes) {
        due = std::max(due, wireFree_);
        schedule_.emplace(due, Scheduled{std::string(1, c), false});
        wireFree_ = due + std::chrono::microseconds(paceUs_);
    }
    return std::max(due, wireFree_);
}

void SimController::writeDue(SimTime now)
{
    std::lock_guard lock(mutex_);
    while (!schedule_.empty() && schedule_.begin()->first <= now) {
        Scheduled item = std::move(schedule_.begin()->second);
        schedule_.erase(schedule_.begin());
        if (master_ < 0)
            continue;
        if (item.hangUp) {
            closeMaster();
            hungUp_ = true;
            changed_.notify_all();
            continue;
        }
        if (item.bytes.empty())
            continue;
        std::size_t done = 0;
        while (done < item.bytes.size()) {
            const ssize_t n = ::write(master_, item.bytes.data() + done, item.bytes.size() - done);
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) {
                    pollfd out{master_, POLLOUT, 0};
                    ::poll(&out, 1, 100);
                    continue;
                }
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        writes_.push_back({std::move(item.bytes), Clock::now()});
        changed_.notify_all();
    }
}

void SimController::closeMaster()
{
    closeFd(master_);
}

} // namespace vm880::test
